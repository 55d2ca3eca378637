#include "main_window/list_box_order.h"

#include <QCollator>
#include <QCollatorSortKey>
#include <QLocale>
#include <algorithm>
#include <numeric>
#include <vector>

namespace sacotin {

void sortLikeListBox(QStringList& names) {
  // A fixed locale, so the order doesn't depend on LANG.
  QCollator collator(QLocale(QLocale::French, QLocale::France));
  collator.setCaseSensitivity(Qt::CaseInsensitive);

  // One sort key per name, computed once: comparing keys is much cheaper than collating the
  // texts again at every comparison of the sort.
  std::vector<QCollatorSortKey> keys;
  keys.reserve(static_cast<std::size_t>(names.size()));
  for (const QString& name : names) keys.push_back(collator.sortKey(name));

  std::vector<qsizetype> order(keys.size());
  std::iota(order.begin(), order.end(), qsizetype{0});
  std::stable_sort(order.begin(), order.end(), [&keys](qsizetype a, qsizetype b) {
    return keys[static_cast<std::size_t>(a)].compare(keys[static_cast<std::size_t>(b)]) < 0;
  });

  QStringList sorted;
  sorted.reserve(names.size());
  for (const qsizetype index : order) sorted.append(names.at(index));
  names.swap(sorted);
}

}  // namespace sacotin

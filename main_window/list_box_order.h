#pragma once

#include <QStringList>

namespace sacotin {

// Sorts names the way a sorted list box of the platform shows them: alphabetical, letter case
// ignored, accents counting only between otherwise equal names (French collation, whatever the
// process locale). Names that compare equal keep their order.
void sortLikeListBox(QStringList& names);

}  // namespace sacotin

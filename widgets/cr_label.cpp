#include "widgets/cr_label.h"

#include <QPainter>
#include <QStyle>

namespace sacotin {

QString CrLabel::textWithLineFeeds() const {
  QString shown = text();
  shown.replace(QChar(13), QChar(10));
  return shown;
}

void CrLabel::paintEvent(QPaintEvent* /*event*/) {
  QPainter painter(this);
  style()->drawItemText(&painter, contentsRect(), Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap,
                        palette(), isEnabled(), textWithLineFeeds(), foregroundRole());
}

}  // namespace sacotin

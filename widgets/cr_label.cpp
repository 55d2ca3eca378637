#include "widgets/cr_label.h"

#include <QPainter>
#include <QStyle>

namespace sacotin {

void CrLabel::paintEvent(QPaintEvent* /*event*/) {
  QPainter painter(this);
  QString shown = text();
  shown.replace(QChar(13), QChar(10));
  style()->drawItemText(&painter, contentsRect(), Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap,
                        palette(), isEnabled(), shown, foregroundRole());
}

}  // namespace sacotin

#pragma once

#include <QLabel>

namespace sacotin {

// A label whose text separates its lines with a single carriage return (character 13), as all
// of the program's multi-line texts do. text() returns the text exactly as set; painting breaks
// the line at each carriage return and wraps at word boundaries within the label's width.
class CrLabel : public QLabel {
  Q_OBJECT

 public:
  using QLabel::QLabel;

  // The text with line feeds where it has carriage returns, as it is drawn and read aloud.
  QString textWithLineFeeds() const;

 protected:
  void paintEvent(QPaintEvent* event) override;
};

}  // namespace sacotin

#pragma once

#include <QDialog>

class QFrame;
class QLabel;
class QPushButton;

namespace sacotin {

class CrLabel;

// The Help window: a fixed French help text, the program's picture and the contact address.
// At most one exists; its OK button only hides it (the next request shows the same window),
// its close box unloads it (the next request loads a new one).
class Dialog : public QDialog {
  Q_OBJECT

 public:
  // The program-wide reference: the loaded Help window, or null.
  static Dialog* instance();
  // Shows the Help window modelessly, loading it first if it isn't loaded.
  static Dialog* showOnRequest();

  // The help text, its pieces separated by carriage returns.
  static QString helpText();

  // How often this window's load step ran: once, however often it is shown again. Running it
  // again would show nothing new (it sets the same text), so this count is the only sign of it.
  int loadCount() const { return loadCount_; }

  QFrame* Frame1 = nullptr;
  QLabel* picIcon = nullptr;
  CrLabel* Label1 = nullptr;
  QPushButton* OKButton = nullptr;
  QLabel* Label2 = nullptr;
  QLabel* Label3 = nullptr;

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  Dialog();
  void buildLayout();
  void Form_Load();
  void OKButton_Click();

  int loadCount_ = 0;
};

}  // namespace sacotin

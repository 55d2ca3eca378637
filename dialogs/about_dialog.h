#pragma once

#include <QDialog>

class QLabel;
class QPushButton;
class QWidget;

namespace sacotin {

class CrLabel;

// The About window: title, version, release notes, web address and contact. At most one
// exists; its OK button (click, Enter or Escape) and its close box unload it, so every request
// after that loads a new window and sets all of its texts again.
class frmAbout : public QDialog {
  Q_OBJECT

 public:
  // The program-wide reference: the loaded About window, or null.
  static frmAbout* instance();
  // Shows the About window modelessly, loading it first if it isn't loaded.
  static frmAbout* showOnRequest();

  // The release notes, their lines separated by carriage returns.
  static QString releaseNotes();

  QLabel* picIcon = nullptr;
  QLabel* lblTitle = nullptr;
  QLabel* lblVersion = nullptr;
  CrLabel* lblDescription = nullptr;
  QWidget* Line1[2] = {};
  QLabel* Label1 = nullptr;
  QLabel* Label2[2] = {};
  QLabel* Label3 = nullptr;
  QPushButton* cmdOK = nullptr;

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  frmAbout();
  void buildLayout();
  void Form_Load();
  void cmdOK_Click();
};

}  // namespace sacotin

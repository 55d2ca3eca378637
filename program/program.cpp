#include "program/program.h"

#include <QApplication>
#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <filesystem>

#include "dialogs/about_dialog.h"
#include "dialogs/help_dialog.h"
#include "encodings/ansi_code_page.h"
#include "files/file_snapshot.h"
#include "program/qt_platform.h"
#include "sacotin_version.h"
#include "widgets/fonts.h"
#include "widgets/program_images.h"
#include "widgets/screen_readers.h"

namespace sacotin {
namespace {

// Qt's French texts: from Qt's own translations folder (Debian's qt6-translations-l10n), else
// from the folder "translations" beside the program (the Windows package ships them there).
void loadFrenchQtTexts(QApplication& application) {
  auto* translator = new QTranslator(&application);
  const QLocale french(QLocale::French, QLocale::France);
  for (const QString& folder : {QLibraryInfo::path(QLibraryInfo::TranslationsPath),
                                QApplication::applicationDirPath() + "/translations"}) {
    if (translator->load(french, QStringLiteral("qtbase"), QStringLiteral("_"), folder)) {
      QApplication::installTranslator(translator);
      return;
    }
  }
  delete translator;
}

}  // namespace

Form1Sources thisMachineSources(std::unique_ptr<RegistryBackend> registry) {
  const std::shared_ptr<const AnsiCodePage> codePage = systemAnsiCodePage();
  const QString cataloguePath = QCoreApplication::applicationDirPath() + "/liste.dat";
  auto catalogue = std::make_shared<CatalogueCache>(
      std::filesystem::path(cataloguePath.toStdU16String()), codePage);
  catalogue->readInBackground();
  return {std::move(registry), codePage, cataloguePath, std::move(catalogue)};
}

void setUpApplication(QApplication& application) {
  // Its windows carry the names its desktop menu entry gives them (docks and taskbars group the
  // windows with the entry and show its icon): the Wayland app_id is the entry's name, the X11
  // class the entry's StartupWMClass.
  QApplication::setApplicationName(QStringLiteral("Sacotin"));
  QApplication::setDesktopFileName(QStringLiteral(SACOTIN_APP_ID));
  readLineBreaksOfCrLabels();
  useWindowsFontMetrics();
  loadFrenchQtTexts(application);
  QApplication::setWindowIcon(programWindowIcon());  // every window of the program shows it
}

int runProgram(int& argc, char** argv,
               const std::function<void(QApplication&, Form1&)>& whenShown) {
  std::unique_ptr<RegistryBackend> registry = readCurrentUserRegistryInBackground();
  chooseQtPlatform();
  QApplication application(argc, argv);
  setUpApplication(application);
  Form1 window(thisMachineSources(std::move(registry)));
  connectHelpMenu(window);
  window.show();
  if (whenShown) whenShown(application, window);
  const int status = application.exec();
  // Whatever is still being read is of no use now: the program ends without waiting for it.
  abandonReads();
  return status;
}

void connectHelpMenu(Form1& window) {
  // Item 1 ("à propos") shows the About window, every other item the Help window. Both are
  // modeless and have no owner: the main window stays usable and is never touched by them.
  QObject::connect(&window, &Form1::helpRequested, &window, [](int index) {
    if (index == 1) {
      frmAbout::showOnRequest();
    } else {
      Dialog::showOnRequest();
    }
  });
}

}  // namespace sacotin

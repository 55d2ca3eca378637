// Every fixed text of the three windows, measured in the font its widget really gets, fits the
// rectangle the layout gives it; Qt's own texts are French.
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionFrame>
#include <algorithm>
#include <climits>

#include "dialogs_fixture.h"
#include "widgets/cr_label.h"

namespace sacotin::testing {
namespace {

class TextFitTest : public DialogsTest {
 protected:
  // Fails naming the widget and the text when the text needs more room than the widget has.
  static void expectFits(QWidget* widget, const QString& text) {
    ASSERT_NE(widget, nullptr);
    const QFontMetrics metrics(widget->font());
    QSize room;
    QSize needed;
    if (auto* button = qobject_cast<QPushButton*>(widget)) {
      const int margin = button->style()->pixelMetric(QStyle::PM_ButtonMargin, nullptr, button);
      room = button->size();
      needed = QSize(metrics.horizontalAdvance(text) + 2 * margin, metrics.height());
    } else if (auto* lineEdit = qobject_cast<QLineEdit*>(widget)) {
      QStyleOptionFrame option;
      option.initFrom(lineEdit);
      option.lineWidth = lineEdit->style()->pixelMetric(QStyle::PM_DefaultFrameWidth);
      constexpr int kTextMargin = 2;  // QLineEdit keeps two pixels free on each side
      room =
          lineEdit->style()->subElementRect(QStyle::SE_LineEditContents, &option, lineEdit).size() -
          QSize(2 * kTextMargin, 0);
      needed = QSize(metrics.horizontalAdvance(text), metrics.height());
    } else {
      // Labels wrap at word boundaries within their width; CR breaks the line.
      room = widget->contentsRect().size();
      QString shown = text;
      shown.replace(QChar(13), QChar(10));
      needed = metrics
                   .boundingRect(QRect(0, 0, room.width(), INT_MAX),
                                 Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, shown)
                   .size();
    }
    // Below the last line's baseline only the glyphs' ink counts, not the font's full descent
    // (a 16-pixel label shows a 12-point title whole).
    const int ink =
        std::max(0, metrics.tightBoundingRect(QString(text).remove(QChar(13))).bottom());
    needed.rheight() -= metrics.descent() - ink;
    EXPECT_TRUE(needed.width() <= room.width() && needed.height() <= room.height())
        << widget->objectName().toStdString() << " (" << metrics.size(0, "x").height()
        << " px font " << QFontInfo(widget->font()).family().toStdString() << "): \""
        << text.toStdString() << "\" needs " << needed.width() << "x" << needed.height() << ", has "
        << room.width() << "x" << room.height();
  }

  static QString textOf(QWidget* widget) {
    if (auto* label = qobject_cast<QLabel*>(widget)) return label->text();
    if (auto* button = qobject_cast<QPushButton*>(widget)) return button->text();
    if (auto* lineEdit = qobject_cast<QLineEdit*>(widget)) return lineEdit->text();
    return {};
  }
  void expectOwnTextsFit(QWidget* window, const QList<std::pair<const char*, int>>& controls) {
    for (const auto& [name, index] : controls) {
      QWidget* widget = control<QWidget>(window, name, index);
      ASSERT_NE(widget, nullptr) << name;
      expectFits(widget, textOf(widget));
    }
  }
};

TEST_F(TextFitTest, FixedTextsOfTheThreeWindowsShowWhole) {
#ifdef Q_OS_WIN
  GTEST_SKIP() << "Wine lacks the Windows fonts: text widths under Wine say nothing";
#endif
  window->mnu_recherche->trigger();  // the search frame's texts
  expectOwnTextsFit(window.get(), {{"Label5", -1}, {"Text1", -1}, {"Command1", -1}});
  window->mnu_inv->trigger();
  expectOwnTextsFit(window.get(), {{"Command1", -1}});

  Dialog* help = openHelp();
  // The help text as a whole, without the picture drawn over its top-right corner.
  expectOwnTextsFit(help, {{"Label1", -1}, {"OKButton", -1}, {"Label2", -1}, {"Label3", -1}});

  frmAbout* about = openAbout();
  expectOwnTextsFit(about, {{"lblTitle", -1},
                            {"lblVersion", -1},
                            {"lblDescription", -1},
                            {"Label1", -1},
                            {"Label2", 0},
                            {"Label2", 1},
                            {"Label3", -1},
                            {"cmdOK", -1}});
}

TEST_F(TextFitTest, StatusTextsShowWholeWithNamesOfTwelveCharacters) {
#ifdef Q_OS_WIN
  GTEST_SKIP() << "Wine lacks the Windows fonts: text widths under Wine say nothing";
#endif
  const QString name = "Maximilienne";
  const QChar cr(13);
  for (const QString& text :
       {QString("Searching Registery"), QString("Scan le registre ..."),
        name + cr + "Vous possedez 32767 objets",
        "Vous n'avez jamais installé T4c" + QString(cr) + "ou ne l'avez jamais lancé",
        "Impossible d'acceder aux personnages" + QString(cr) + "du compte " + name,
        "Impossible d'ouvrir l'inventaire" + QString(cr) + "de " + name,
        "Impossible de lire liste.dat" + QString(cr) + "Vous possedez 32767 objets",
        "Impossible de lire liste.dat" + QString(cr) + "la liste des objets est vide",
        QString("Ready to search"), "Recherche ..." + QString(cr) + "Patientez ...",
        "Rien a chercher ..." + QString(cr) + "Choisissez dans la liste",
        QString("Recherche terminée"), "Recherche terminée" + QString(cr) + "Objet non trouvé"}) {
    expectFits(window->Label1, text);
  }
}

TEST_F(TextFitTest, TheTextContextMenuIsFrench) {
  window->mnu_recherche->trigger();
  std::unique_ptr<QMenu> menu(window->Combo3->lineEdit()->createStandardContextMenu());
  QStringList texts;
  for (const QAction* action : menu->actions()) {
    if (!action->isSeparator()) texts << action->text().remove('&').section('\t', 0, 0);
  }
  EXPECT_EQ(texts, QStringList({"Annuler", "Rétablir", "Couper", "Copier", "Coller", "Supprimer",
                                "Tout sélectionner"}));
}

}  // namespace
}  // namespace sacotin::testing

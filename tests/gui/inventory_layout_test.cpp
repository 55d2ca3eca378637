// The main window's layout: places and sizes (twips, 15 to a pixel), names, fonts, what is
// shown at start, the keyboard order and the menu bar.
#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <cstdlib>

#include "inventory_fixture.h"
#include "support/layout_font.h"

namespace sacotin::testing {
namespace {

QRect twips(int left, int top, int width, int height) {
  return QRect(left / 15, top / 15, width / 15, height / 15);
}

class InventoryLayoutTest : public InventoryWindowTest {
 protected:
  void SetUp() override {
    writeCatalogue({"1", "Nom=Arc"});
    registry->addItem("compte1", "perso1", 1);
    openWindow();
  }

  QWidget* named(const char* name) const { return control<QWidget>(name); }

  // The element of a control array with the given index.
  template <typename Object>
  Object* element(const char* name, int index) const {
    for (Object* candidate : window->findChildren<Object*>(QString::fromLatin1(name))) {
      if (candidate->property("index").toInt() == index) return candidate;
    }
    ADD_FAILURE() << name << "(" << index << ") not found";
    return nullptr;
  }
};

TEST_F(InventoryLayoutTest, WindowCaptionAndClientArea) {
  EXPECT_EQ(window->objectName(), "Form1");
  EXPECT_EQ(window->windowTitle(), "Sacotin");
  EXPECT_EQ(window->windowIcon().pixmap(QSize(32, 32), 1.0).toImage(),
            QIcon(":/icons/sacotin.png").pixmap(32, 32).toImage());
  EXPECT_FALSE(window->windowIcon().isNull());
  // At a scaling of 150 % an odd number of logical pixels is a half device pixel: the window's
  // size may then be rounded by one.
  const QSize client = window->centralWidget()->size();
  const int slack = window->devicePixelRatio() == int(window->devicePixelRatio()) ? 0 : 1;
  EXPECT_LE(std::abs(client.width() - 4770 / 15), slack) << client.width();
  EXPECT_LE(std::abs(client.height() - 7785 / 15), slack) << client.height();
  EXPECT_TRUE(window->menuBar()->isVisible());
  EXPECT_LE(window->menuBar()->geometry().bottom(), window->centralWidget()->geometry().top());
  EXPECT_TRUE(window->testAttribute(Qt::WA_QuitOnClose));
  EXPECT_TRUE(qApp->quitOnLastWindowClosed());
}

TEST_F(InventoryLayoutTest, ControlsSitWhereTheLayoutPutsThem) {
  QFrame* outer = element<QFrame>("Frame1", 0);
  QFrame* inventory = element<QFrame>("Frame1", 1);
  ASSERT_TRUE(outer && inventory);
  EXPECT_EQ(outer->parentWidget(), window->centralWidget());
  EXPECT_EQ(outer->geometry(), twips(120, 0, 4575, 7695));
  EXPECT_EQ(inventory->parentWidget(), outer);
  EXPECT_EQ(inventory->geometry(), twips(120, 120, 4335, 5655));

  struct Expected {
    const char* name;
    QWidget* container;
    QRect geometry;
  };
  const Expected controls[] = {
      {"Frame5", outer, twips(120, 120, 4335, 5655)},
      {"Combo1", inventory, twips(360, 480, 3615, 315)},
      {"Combo2", inventory, twips(360, 840, 3615, 315)},
      {"List1", inventory, twips(360, 1320, 3615, 3765)},
      {"Frame2", outer, twips(120, 6600, 4335, 975)},
      {"Label1", named("Frame2"), twips(360, 240, 3255, 615)},
      {"Frame3", outer, twips(120, 5760, 4335, 855)},
      {"Command1", named("Frame3"), twips(360, 240, 3615, 495)},
      {"Label5", named("Frame5"), twips(360, 360, 3255, 255)},
      {"Combo3", named("Frame5"), twips(360, 720, 3615, 315)},
      {"Text1", named("Frame5"), twips(360, 1080, 3615, 285)},
      {"List2", named("Frame5"), twips(360, 1560, 3615, 3570)},
  };
  for (const Expected& expected : controls) {
    QWidget* widget = named(expected.name);
    ASSERT_NE(widget, nullptr) << expected.name;
    EXPECT_EQ(widget->parentWidget(), expected.container) << expected.name;
    EXPECT_EQ(widget->geometry(), expected.geometry) << expected.name;
  }
}

TEST_F(InventoryLayoutTest, ResizingMovesNothing) {
  const QRect list = itemList()->geometry();
  const QRect button = named("Command1")->geometry();
  window->resize(800, 900);
  QTest::qWait(10);
  EXPECT_EQ(itemList()->geometry(), list);
  EXPECT_EQ(named("Command1")->geometry(), button);
  window->resize(150, 150);
  QTest::qWait(10);
  EXPECT_EQ(itemList()->geometry(), list);
}

TEST_F(InventoryLayoutTest, WhatIsShownAtStart) {
  EXPECT_TRUE(element<QFrame>("Frame1", 1)->isVisible());
  EXPECT_FALSE(named("Frame5")->isVisible());
  EXPECT_TRUE(named("Frame5")->isHidden());
  EXPECT_EQ(control<QPushButton>("Command1")->text(), "Rafraichir");
  EXPECT_EQ(control<QLabel>("Label5")->text(), "Choisissez dans la liste ou saisissez librement :");
  auto* text1 = control<QLineEdit>("Text1");
  EXPECT_EQ(text1->text(), "mots libres : désactivé pour le moment");
  EXPECT_FALSE(text1->isEnabled());
  EXPECT_EQ(control<QListWidget>("List2")->count(), 0);
}

TEST_F(InventoryLayoutTest, ChoosersAndTheirKinds) {
  EXPECT_FALSE(accounts()->isEditable());
  EXPECT_FALSE(characters()->isEditable());
  auto* search = control<QComboBox>("Combo3");
  EXPECT_TRUE(search->isEditable());
  EXPECT_EQ(search->completer(), nullptr);
  EXPECT_EQ(search->insertPolicy(), QComboBox::NoInsert);
}

TEST_F(InventoryLayoutTest, StatusLineFontAndColour) {
  const QFont font = statusLine()->font();
  EXPECT_EQ(font.family(), layoutSansSerif());
  EXPECT_DOUBLE_EQ(font.pointSizeF(), 9.75);
  EXPECT_TRUE(font.bold());
  EXPECT_EQ(statusLine()->palette().color(QPalette::WindowText), QColor(Qt::black));
}

TEST_F(InventoryLayoutTest, TabOrderAndFirstFocus) {
  window->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
  EXPECT_EQ(QApplication::focusWidget(), itemList());

  QStringList order;
  QWidget* widget = itemList();
  for (int step = 0; step < 7; ++step) {
    order << widget->objectName();
    widget = widget->nextInFocusChain();
    while (widget->focusPolicy() == Qt::NoFocus || widget->objectName().isEmpty()) {
      widget = widget->nextInFocusChain();
    }
  }
  EXPECT_EQ(order,
            QStringList({"List1", "Combo2", "Combo1", "Combo3", "Text1", "List2", "Command1"}));

  // Tab walks the shown, enabled controls in that order.
  QTest::keyClick(itemList(), Qt::Key_Tab);
  EXPECT_EQ(QApplication::focusWidget(), characters());
  QTest::keyClick(characters(), Qt::Key_Tab);
  EXPECT_EQ(QApplication::focusWidget(), accounts());
  QTest::keyClick(accounts(), Qt::Key_Tab);
  EXPECT_EQ(QApplication::focusWidget(), named("Command1"));
}

TEST_F(InventoryLayoutTest, ScreenReadersGetEachControlsRoleAndPurpose) {
  // A combo box tells what it is for through the label that names it (on Linux Qt names it after
  // its current entry); a hidden label when the layout shows none, which says the entry too.
  const auto purpose = [](QAccessibleInterface* control) {
    if (control->role() != QAccessible::ComboBox) return control->text(QAccessible::Name);
    const auto labels = control->relations(QAccessible::Label);
    return labels.size() == 1 ? labels.first().first->text(QAccessible::Name) : QString();
  };
  const struct {
    const char* name;
    QAccessible::Role role;
    QString purpose;
  } expected[] = {
      {"Combo1", QAccessible::ComboBox, "Compte : compte1"},
      {"Combo2", QAccessible::ComboBox, "Personnage : perso1"},
      {"List1", QAccessible::List, "Objets du personnage"},
      {"Combo3", QAccessible::ComboBox, "Choisissez dans la liste ou saisissez librement :"},
      {"List2", QAccessible::List, "Personnages qui portent l'objet"},
      {"Label1", QAccessible::StatusBar, "perso1\nVous possedez 1 objets"},
  };
  for (const auto& control : expected) {
    QAccessibleInterface* exposed = QAccessible::queryAccessibleInterface(named(control.name));
    ASSERT_TRUE(exposed) << control.name;
    EXPECT_EQ(exposed->role(), control.role) << control.name;
    EXPECT_EQ(purpose(exposed), control.purpose) << control.name;
    EXPECT_EQ(named(control.name)->accessibleName(), control.role == QAccessible::StatusBar
                                                         ? QString()
                                                         : control.purpose.section(" : ", 0, 0));
  }
  // Nothing new is drawn: the labels that name the account and character choosers are hidden.
  EXPECT_FALSE(named("Combo1_name")->isVisible());
  EXPECT_FALSE(named("Combo2_name")->isVisible());
}

TEST_F(InventoryLayoutTest, MenuBar) {
  QList<QAction*> bar = window->menuBar()->actions();
  ASSERT_EQ(bar.size(), 3);
  EXPECT_EQ(bar[0]->objectName(), "mnu_inv");
  EXPECT_EQ(bar[0]->text(), "Inventaire");
  EXPECT_FALSE(bar[0]->isVisible());
  EXPECT_EQ(bar[1]->objectName(), "mnu_recherche");
  EXPECT_EQ(bar[1]->text(), "Recherche");
  EXPECT_TRUE(bar[1]->isVisible());
  EXPECT_EQ(bar[2]->text(), "?");
  ASSERT_NE(bar[2]->menu(), nullptr);
  EXPECT_EQ(bar[2]->menu()->objectName(), "mnu_help");

  const QList<QAction*> help = bar[2]->menu()->actions();
  ASSERT_EQ(help.size(), 2);
  EXPECT_EQ(help[0]->objectName(), "smnu_help");
  EXPECT_EQ(help[0]->property("index").toInt(), 0);
  EXPECT_EQ(help[0]->text(), "aide");
  EXPECT_EQ(help[1]->objectName(), "smnu_help");
  EXPECT_EQ(help[1]->property("index").toInt(), 1);
  EXPECT_EQ(help[1]->text(), "à propos");
}

}  // namespace
}  // namespace sacotin::testing

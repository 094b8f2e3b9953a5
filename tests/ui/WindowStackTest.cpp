#include "support/GuiSupport.h"
#include "ui/Application.h"
#include "ui/ListWindow.h"
#include "ui/RecordEditor.h"
#include "ui/Windows.h"

#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

using namespace korven;
using namespace korven::ui;
using korven::test::RecordingServices;
using korven::test::whenModalOpens;

namespace {

// A window with two buttons, the second focused, that opens a child of its own on a click.
struct Parent : QDialog {
    Parent() {
        first = new QPushButton(QStringLiteral("pierwszy"), this);
        second = new QPushButton(QStringLiteral("drugi"), this);
        first->move(0, 0);
        second->move(0, 40);
        resize(300, 120);
    }
    QPushButton* first;
    QPushButton* second;
};

void waitFor(const std::function<bool()>& condition) {
    for (int i = 0; i < 100 && !condition(); ++i)
        QTest::qWait(10);
}

} // namespace

// A window opened from a window opened from another: however the innermost closes, its parent comes
// back shown, with its focus, still open, and opens the child again; only then does it close itself.
TEST(WindowStack, AChildClosesBackToItsParentOnly) {
    struct Way {
        const char* name;
        std::function<void(QDialog&)> close;
    } ways[] = {{"reject", [](QDialog& d) { d.reject(); }},
                {"accept", [](QDialog& d) { d.accept(); }},
                {"close box", [](QDialog& d) { d.close(); }},
                {"Esc", [](QDialog& d) { QTest::keyClick(&d, Qt::Key_Escape); }}};
    for (const Way& way : ways) {
        SCOPED_TRACE(way.name);
        QWidget top;
        top.show();
        Parent parent;
        int parentResult = -1;
        bool parentBack = false, focusBack = false, parentHidden = false, openedAgain = false;
        whenModalOpens([&](QWidget*) {
            parent.second->setFocus();
            QDialog child(&parent);
            whenModalOpens([&](QWidget* c) {
                parentHidden = !parent.isVisible();
                way.close(*static_cast<QDialog*>(c));
            });
            openChild(&parent, child);
            waitFor([&] { return parent.isVisible(); });
            parentBack = parent.isVisible();
            focusBack = parent.focusWidget() == parent.second;
            // The parent is still open and working: it opens its child again.
            QDialog again(&parent);
            whenModalOpens([&](QWidget* c) {
                openedAgain = true;
                static_cast<QDialog*>(c)->reject();
            });
            openChild(&parent, again);
            parent.accept();
        });
        parentResult = openChild(&top, parent);
        EXPECT_TRUE(parentHidden);
        EXPECT_TRUE(parentBack);
        EXPECT_TRUE(focusBack);
        EXPECT_TRUE(openedAgain);
        EXPECT_EQ(parentResult, QDialog::Accepted) << "the parent closed by its own accept, not by its child";
        EXPECT_TRUE(top.isVisible());
        EXPECT_TRUE(openWindows().isEmpty());
    }
}

// Enter on a focused button presses it, as Space does, in a plain window, in a list window (which
// sees keys before its controls) and in an editor; a dialog's default button is pressed once.
TEST(EnterKey, PressesTheFocusedButtonOnce) {
    pressButtonsOnEnter(*qApp);
    int pressed = 0;
    auto count = [&](QPushButton* b) { QObject::connect(b, &QPushButton::clicked, [&] { ++pressed; }); };

    QWidget menu;
    auto* menuButton = new QPushButton(QStringLiteral("Kartoteka"), &menu);
    menuButton->setAutoDefault(false);
    count(menuButton);

    ListConfig config;
    config.title = QStringLiteral("Lista");
    ListWindow list(config);
    int edits = 0;
    list.onEdit = [&](const db::Row&) { ++edits; };
    auto names = std::make_shared<QStringList>(QStringList{"KOD"});
    list.loader = [names] { return db::Rows{db::Row(names, {db::Value(1)})}; };
    list.reload();
    QPushButton* listButton =
        list.addButton(list.lowerPanel(), QStringLiteral("&Dane"), QStringLiteral("edit"), [] {});
    count(listButton);

    QDialog dialog;
    auto* defaultButton = new QPushButton(QStringLiteral("O&K"), &dialog);
    defaultButton->setDefault(true);
    count(defaultButton);

    for (QWidget* w :
         {static_cast<QWidget*>(&menu), static_cast<QWidget*>(&list), static_cast<QWidget*>(&dialog)}) {
        w->show();
        QApplication::setActiveWindow(w);
    }
    struct Case {
        QWidget* window;
        QPushButton* button;
    } cases[] = {{&menu, menuButton}, {&list, listButton}, {&dialog, defaultButton}};
    for (const Case& c : cases) {
        pressed = 0;
        QApplication::setActiveWindow(c.window);
        c.button->setFocus();
        QTest::keyClick(c.button, Qt::Key_Return);
        EXPECT_EQ(pressed, 1) << c.button->text().toStdString();
    }
    // The grid keeps Enter for opening the editor.
    QApplication::setActiveWindow(&list);
    list.grid()->setFocus();
    QTest::keyClick(list.grid(), Qt::Key_Return);
    EXPECT_EQ(edits, 1);
}

// Qt's own texts speak Polish: a question's buttons are "Tak" and "Nie".
TEST(QtTexts, AYesNoQuestionHasPolishButtons) {
    ASSERT_TRUE(loadQtTranslations(*qApp))
        << "qt6-translations-l10n is not installed (scripts/setup-deps.sh)";
    QStringList captions;
    whenModalOpens([&](QWidget* w) {
        auto* box = qobject_cast<QMessageBox*>(w);
        ASSERT_NE(box, nullptr);
        for (QAbstractButton* b : box->buttons())
            captions << b->text();
        box->button(QMessageBox::No)->click();
    });
    // The program's own question service, not a stand-in.
    EXPECT_FALSE(services().ask(nullptr, QStringLiteral("Pytanie"), QStringLiteral("Czy koniec pracy")));
    captions.sort();
    EXPECT_EQ(captions, (QStringList{QStringLiteral("&Nie"), QStringLiteral("&Tak")}));
}

// A field is checked when it is left; "O&K" and "&Anuluj" are not held up by it and "O&K" tells
// the problem once.
TEST(EditorFrame, AFieldIsCheckedWhenLeftAndOnceAtOK) {
    RecordingServices services;
    RecordEditor editor(QStringLiteral("Korekta"),
                        {{QStringLiteral("NORMA"), QStringLiteral("Norma"), FieldKind::Decimal},
                         {QStringLiteral("NAZWA"), QStringLiteral("Nazwa"), FieldKind::Text}});
    int saves = 0;
    editor.onSave = [&](const db::Params&) { return ++saves > 0; };
    editor.show();
    QApplication::setActiveWindow(&editor);
    QLineEdit* norma = editor.input(QStringLiteral("NORMA"));
    norma->setFocus();
    QTest::keyClicks(norma, QStringLiteral("12x"));
    QTest::keyClick(norma, Qt::Key_Tab);
    QApplication::processEvents();
    ASSERT_EQ(services.messages.size(), 1);
    EXPECT_EQ(services.messages[0], QStringLiteral("Norma: '12x' nie jest poprawną liczbą"));
    EXPECT_EQ(QApplication::focusWidget(), norma);

    QTest::mouseClick(editor.okButton(), Qt::LeftButton);
    EXPECT_EQ(services.messages.size(), 2) << "O&K tells it once more, not twice";
    EXPECT_EQ(saves, 0);
    EXPECT_TRUE(editor.isVisible());

    norma->setText(QStringLiteral("12,5"));
    QTest::mouseClick(editor.okButton(), Qt::LeftButton);
    EXPECT_EQ(saves, 1);
    EXPECT_EQ(services.messages.size(), 2);
}

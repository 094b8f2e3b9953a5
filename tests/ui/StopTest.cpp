// Stopping the program is for good, so it has a test program of its own.
#include "support/GuiSupport.h"
#include "ui/RecordEditor.h"
#include "ui/Stopping.h"
#include "ui/Windows.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

using namespace korven;
using namespace korven::ui;
using korven::test::RecordingServices;
using korven::test::whenModalOpens;

namespace {

struct MainWindow : QWidget {
    void closeEvent(QCloseEvent* e) override {
        ++closes;
        e->accept();
    }
    int closes = 0;
};

} // namespace

// A stop in the middle of the work, three windows deep with a question open: the question is
// answered No, the editor closes as by Esc (nothing posted), the list closes, then the main window
// closes without a question; nothing opens any more afterwards.
TEST(Stop, ClosesFromTheInnermostOutAsEscWould) {
    RecordingServices services;
    MainWindow main;
    main.show();
    QStringList order;
    int saves = 0;
    QMessageBox::StandardButton answer = QMessageBox::Yes;

    QDialog list;
    QObject::connect(&list, &QDialog::finished, [&] { order << QStringLiteral("list"); });
    whenModalOpens([&](QWidget*) {
        RecordEditor editor(QStringLiteral("Korekta"), {{QStringLiteral("NAZWA"), QStringLiteral("Nazwa")}});
        editor.onSave = [&](const db::Params&) { return ++saves > 0; };
        QObject::connect(&editor, &QDialog::finished, [&](int r) {
            order << QStringLiteral("editor %1").arg(r == QDialog::Rejected ? "Esc" : "O&K");
        });
        whenModalOpens([&](QWidget*) {
            editor.setText(QStringLiteral("NAZWA"), QStringLiteral("nie zapisane"));
            QTimer::singleShot(50, [] { stopProgram(); });
            answer = QMessageBox::question(&editor, QStringLiteral("Pytanie"), QStringLiteral("Zapisać?"));
            order << QStringLiteral("question");
        });
        openChild(&list, editor);
    });
    openChild(&main, list);

    EXPECT_TRUE(stopping());
    EXPECT_NE(answer, QMessageBox::Yes);
    EXPECT_EQ(saves, 0);
    EXPECT_EQ(order, (QStringList{"question", "editor Esc", "list"}));
    for (int i = 0; i < 100 && main.closes == 0; ++i)
        QTest::qWait(10);
    EXPECT_EQ(main.closes, 1);
    EXPECT_TRUE(services.questions.isEmpty());

    QDialog late;
    EXPECT_EQ(openChild(&main, late), QDialog::Rejected);
    EXPECT_FALSE(late.isVisible());
}

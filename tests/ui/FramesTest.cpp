#include "support/GuiSupport.h"
#include "ui/ListWindow.h"
#include "ui/RecordEditor.h"
#include "ui/Windows.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>

#include <gtest/gtest.h>

using namespace korven;
using namespace korven::ui;
using korven::test::RecordingServices;

namespace {

// A dictionary-like list kept in memory: codes and names.
struct MemoryList {
    QList<std::pair<int, QString>> items;
    db::Rows rows() const {
        auto names = std::make_shared<QStringList>(QStringList{"KOD", "NAZWA"});
        db::Rows out;
        for (const auto& [kod, nazwa] : items)
            out.emplace_back(names, std::vector<db::Value>{db::Value(kod), db::Value(nazwa)});
        return out;
    }
};

std::unique_ptr<ListWindow> makeWindow(MemoryList& data) {
    ListConfig c;
    c.objectName = QStringLiteral("TestList");
    c.title = QStringLiteral("Kartoteka Testowa");
    c.keyField = QStringLiteral("KOD");
    c.columns = {{QStringLiteral("KOD"), QStringLiteral("Kod"), paleYellow()},
                 {QStringLiteral("NAZWA"), QStringLiteral("Nazwa")}};
    auto w = std::make_unique<ListWindow>(c);
    w->loader = [&data] { return data.rows(); };
    w->onNew = [&data]() -> std::optional<db::Value> {
        int next = 1;
        for (const auto& item : data.items)
            next = std::max(next, item.first + 1);
        data.items.append({next, QString()});
        return db::Value(next);
    };
    w->onDelete = [&data](const db::Row& row) {
        data.items.removeIf([&](const auto& item) { return item.first == row.integer("KOD"); });
    };
    w->reload();
    w->show();
    return w;
}

} // namespace

TEST(ListFrame, KeysAddDeleteAndKeepTheCursor) {
    RecordingServices services;
    MemoryList data{{{1, "A"}, {2, "B"}, {3, "C"}}};
    auto w = makeWindow(data);
    QTableView* grid = w->grid();
    w->setCurrentPosition(1);

    // Delete with No: the row and the cursor stay.
    services.answers = {false};
    QTest::keyClick(grid, Qt::Key_Delete);
    EXPECT_EQ(services.questions,
              QStringList{QStringLiteral("Ważne Pytanie: Czy napewno wykasować daną pozycję ?")});
    EXPECT_EQ(w->model()->rowCount(), 3);
    EXPECT_EQ(w->currentRow()->integer("KOD"), 2);

    // Yes: the row after the deleted one becomes current.
    services.answers = {true};
    QTest::keyClick(grid, Qt::Key_Delete);
    EXPECT_EQ(w->model()->rowCount(), 2);
    EXPECT_EQ(w->currentRow()->integer("KOD"), 3);

    // Insert adds a row and puts the cursor on it.
    QTest::keyClick(grid, Qt::Key_Insert);
    EXPECT_EQ(w->model()->rowCount(), 3);
    EXPECT_EQ(w->currentRow()->integer("KOD"), 4);

    // Enter opens the editor on the current row.
    int edited = 0;
    w->onEdit = [&](const db::Row& row) { edited = static_cast<int>(row.integer("KOD")); };
    w->setCurrentPosition(0);
    QTest::keyClick(grid, Qt::Key_Return);
    EXPECT_EQ(edited, 1);

    // Esc closes the window.
    QTest::keyClick(grid, Qt::Key_Escape);
    EXPECT_FALSE(w->isVisible());
}

TEST(ListFrame, AFailedDeleteIsReportedFromTheNavigatorOnly) {
    RecordingServices services;
    MemoryList data{{{1, "A"}}};
    auto w = makeWindow(data);
    w->onDelete = [](const db::Row&) { throw std::runtime_error("usunięcie odrzucone"); };
    services.answers = {true, true};
    QTest::keyClick(w->grid(), Qt::Key_Delete);
    EXPECT_TRUE(services.messages.isEmpty());
    w->deleteCurrent(false);
    EXPECT_EQ(services.messages, QStringList{QStringLiteral("usunięcie odrzucone")});
    EXPECT_EQ(w->model()->rowCount(), 1);
}

TEST(ListFrame, AnUnreadableListOpensEmpty) {
    MemoryList data;
    auto w = makeWindow(data);
    w->loader = []() -> db::Rows { throw std::runtime_error("brak połączenia"); };
    w->reload();
    EXPECT_EQ(w->model()->rowCount(), 0);
    EXPECT_EQ(w->currentRow(), nullptr);
}

TEST(EditorFrame, BadInputKeepsTheWindowOpenAndTextIsCut) {
    RecordingServices services;
    RecordEditor editor(
        QStringLiteral("Korekta"),
        {{QStringLiteral("KOD"), QStringLiteral("Kod"), FieldKind::Integer, 0, 0, true},
         {QStringLiteral("NAZWA"), QStringLiteral("Nazwa"), FieldKind::Text, 5, 0, false, true},
         {QStringLiteral("NORMA"), QStringLiteral("Norma"), FieldKind::Decimal},
         {QStringLiteral("DATA"), QStringLiteral("Data"), FieldKind::Date}});
    db::Params saved;
    int saves = 0;
    editor.onSave = [&](const db::Params& p) {
        saved = p;
        ++saves;
        return true;
    };
    editor.show();
    editor.setText(QStringLiteral("KOD"), QStringLiteral("7"));
    editor.input(QStringLiteral("NAZWA"))->setText(QStringLiteral("abcdefgh")); // the field holds at most 5
    struct Case {
        const char* norma;
        const char* data;
        bool accepted;
    } cases[] = {{"12x", "2009-03-31", false}, {"12,5", "2009-02-30", false}, {"12,5", "2009-03-31", true}};
    for (const Case& c : cases) {
        editor.setText(QStringLiteral("NORMA"), QString::fromUtf8(c.norma));
        editor.setText(QStringLiteral("DATA"), QString::fromUtf8(c.data));
        QTest::mouseClick(editor.okButton(), Qt::LeftButton);
        EXPECT_EQ(saves > 0, c.accepted) << c.norma << " " << c.data;
    }
    EXPECT_EQ(services.messages.size(), 2);
    EXPECT_EQ(saved.find(QStringLiteral("NAZWA"))->toText(), QStringLiteral("ABCDE")); // cut and upper-cased
    EXPECT_DOUBLE_EQ(saved.find(QStringLiteral("NORMA"))->toDouble(), 12.5);
    EXPECT_EQ(saved.find(QStringLiteral("DATA"))->toDate(), QDate(2009, 3, 31));
    EXPECT_EQ(saved.find(QStringLiteral("KOD"))->toInt(), 7);
}

TEST(ErrorDisplay, SaysWhatTheOperatorCanDo) {
    using R = db::DbError::Reason;
    EXPECT_TRUE(errorText(db::DbError(R::ConnectionLost, QStringLiteral("connection shutdown")))
                    .startsWith(QStringLiteral("Połączenie z bazą danych zostało przerwane")));
    EXPECT_TRUE(errorText(db::DbError(R::LockConflict, QStringLiteral("deadlock")))
                    .contains(QStringLiteral("innego operatora")));
    EXPECT_TRUE(errorText(db::DbError(R::LockConflict, QStringLiteral("deadlock")))
                    .endsWith(QStringLiteral("deadlock")));
    EXPECT_EQ(errorText(std::runtime_error("zwykły błąd")), QStringLiteral("zwykły błąd"));
}

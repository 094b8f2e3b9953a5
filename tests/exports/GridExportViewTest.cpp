#include "XlsxReader.h"

#include "exports/ui/GridExportView.h"

#include <QHeaderView>
#include <QStandardItemModel>
#include <QTableView>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace korven::exports;
using namespace korven::exports::ui;

namespace {

// A list view as a window shows it: three columns, the amount moved before the name, field names
// and one field type given by the header.
class ViewExport : public ::testing::Test {
protected:
    void SetUp() override {
        model.setHorizontalHeaderLabels(
            {QStringLiteral("Kod"), QStringLiteral("Nazwa"), QStringLiteral("Ilość")});
        model.setHeaderData(0, Qt::Horizontal, QStringLiteral("KOD"), FieldNameRole);
        model.setHeaderData(2, Qt::Horizontal, int(FieldType::Decimal), FieldTypeRole);
        const QList<QList<QVariant>> rows{{1, QStringLiteral("Agregat"), 1.5},
                                          {2, QStringLiteral("Pilarka"), 2.25},
                                          {3, QStringLiteral("Ponton"), 3.0}};
        for (const auto& r : rows) {
            QList<QStandardItem*> items;
            for (const QVariant& v : r) {
                auto* item = new QStandardItem;
                item->setData(v, Qt::EditRole);
                items.append(item);
            }
            model.appendRow(items);
        }
        view.setModel(&model);
        view.setSelectionBehavior(QAbstractItemView::SelectRows);
        view.horizontalHeader()->moveSection(2, 1);
    }
    QStandardItemModel model;
    QTableView view;
};

TEST_F(ViewExport, DescribesColumnsInDisplayOrderWithFieldsAndTypes) {
    const ExportList list = exportListFromView(view);
    ASSERT_EQ(list.columns.size(), 3);
    EXPECT_EQ(list.columns[0].title, QStringLiteral("Kod"));
    EXPECT_EQ(list.columns[0].fieldName, QStringLiteral("KOD"));
    EXPECT_EQ(list.columns[0].type, FieldType::Integer);
    EXPECT_EQ(list.columns[1].title, QStringLiteral("Ilość"));
    EXPECT_EQ(list.columns[1].type, FieldType::Decimal) << "the header's type wins over the values";
    EXPECT_EQ(list.columns[2].fieldName, QStringLiteral("Nazwa"));
    EXPECT_EQ(list.columns[2].type, FieldType::Text);
    EXPECT_EQ(list.rows[1], (QList<QVariant>{2, 2.25, QStringLiteral("Pilarka")}));

    view.setColumnHidden(0, true);
    EXPECT_FALSE(exportListFromView(view).columns[0].visible);
}

TEST_F(ViewExport, SelectionCountsFromTwoRowsOfAMultiSelectView) {
    view.setSelectionMode(QAbstractItemView::ExtendedSelection);
    view.selectRow(1);
    EXPECT_FALSE(exportListFromView(view).multiSelect) << "the current row alone is no selection";
    view.selectionModel()->select(model.index(2, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
    const ExportList list = exportListFromView(view);
    EXPECT_TRUE(list.multiSelect);
    EXPECT_EQ(list.selectedRows, (QSet<int>{1, 2}));

    view.setSelectionMode(QAbstractItemView::SingleSelection);
    EXPECT_FALSE(exportListFromView(view).multiSelect);
}

TEST_F(ViewExport, ExportShowsFailuresAndReturnsFocusToTheList) {
    QTemporaryDir dir;
    QStringList messages;
    const ExportMessage saved = exportMessageHandler();
    exportMessageHandler() = [&](QWidget*, const QString& text) { messages.append(text); };
    ExportEnvironment env;
    env.folder = dir.path();
    env.now = [] { return QDateTime(QDate(2026, 1, 2), QTime(3, 4, 5)); };
    env.openFile = [](const QString&) { return false; };
    view.show();
    const ExportOutcome o = exportView(&view, QStringLiteral("Kartoteka Grup Sprzętu"), env);
    exportMessageHandler() = saved;
    EXPECT_EQ(o.status, ExportOutcome::Status::NoApplication);
    ASSERT_EQ(messages.size(), 1);
    EXPECT_EQ(messages[0], noSpreadsheetMessage(o.filePath));
    const auto sheet = korven::test::readXlsx(o.filePath);
    EXPECT_EQ(sheet.cells.value("A4").value, QStringLiteral("_1"));
    EXPECT_EQ(sheet.cells.value("B4").value, QStringLiteral("1,5")) << "a decimal field stays text";
    EXPECT_EQ(sheet.cells.value("C6").value, QStringLiteral("Ponton"));
}

} // namespace

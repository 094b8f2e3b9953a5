#include "reports/rules/StatementOutput.h"

namespace korven::reports {

DataView statementDataView(const ResultTable& table, const QString& name, const QLocale& locale) {
    DataView view;
    view.name = name;
    for (int r = 0; r < table.rowCount(); ++r) {
        DataRow row;
        for (int i = 0; i < table.fields().size(); ++i) {
            QString text = table.text(r, i, locale);
            // An empty cell (a hidden zero) must stay empty in the print rather than fall back to
            // the value's own text.
            if (text.isNull()) text = QStringLiteral("");
            row.set(table.fields()[i].name, table.row(r).at(i), text);
        }
        view.rows.append(row);
    }
    return view;
}

ReportJob statementJob(const ResultTable& table, const PrintSpec& print, const QLocale& locale) {
    ReportJob job;
    job.projectFile = print.projectFile;
    job.orientation = print.landscape ? Orientation::Landscape : Orientation::Portrait;
    for (const auto& [name, value] : print.parameters)
        job.parameters.insert(name, value);
    job.data = statementDataView(table, print.dataView, locale);
    return job;
}

exports::ExportList statementExportList(const ResultTable& table) {
    exports::ExportList list;
    QList<int> shown;
    for (int i = 0; i < table.fields().size(); ++i) {
        const FieldDef& f = table.fields()[i];
        if (!f.shown()) continue;
        shown << i;
        const exports::FieldType type = f.type == FieldType::Integer ? exports::FieldType::Integer
                                        : f.type == FieldType::Real  ? exports::FieldType::Float
                                                                     : exports::FieldType::Text;
        list.columns.append({f.title, f.name, type, true});
    }
    for (int r = 0; r < table.rowCount(); ++r) {
        QList<QVariant> row;
        for (int i : shown)
            row << table.row(r).at(i);
        list.rows.append(row);
    }
    return list;
}

} // namespace korven::reports

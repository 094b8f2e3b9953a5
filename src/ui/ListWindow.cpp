#include "ui/ListWindow.h"

#include "exports/ui/GridExportView.h"
#include "reports/ui/ReportPrint.h"
#include "ui/UiServices.h"
#include "ui/Windows.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QTableView>
#include <QToolBar>
#include <QVBoxLayout>

namespace korven::ui {

QToolBar* makeNavigator(QWidget* parent, const QList<NavButton>& buttons,
                        std::function<void(NavButton)> pressed) {
    auto* bar = new QToolBar(parent);
    bar->setObjectName(QStringLiteral("navigator"));
    struct NavSpec {
        NavButton button;
        QStyle::StandardPixmap icon;
        const char* hint;
        const char* name;
    };
    const NavSpec specs[] = {{NavButton::First, QStyle::SP_MediaSkipBackward, "pierwszy", "navFirst"},
                             {NavButton::Prior, QStyle::SP_MediaSeekBackward, "poprzedni", "navPrior"},
                             {NavButton::Next, QStyle::SP_MediaSeekForward, "następny", "navNext"},
                             {NavButton::Last, QStyle::SP_MediaSkipForward, "ostatni", "navLast"},
                             {NavButton::Delete, QStyle::SP_TrashIcon, "usuń", "navDelete"},
                             {NavButton::Cancel, QStyle::SP_DialogCancelButton, "skasuj", "navCancel"},
                             {NavButton::Refresh, QStyle::SP_BrowserReload, "odświeżanie", "navRefresh"}};
    auto shared = std::make_shared<std::function<void(NavButton)>>(std::move(pressed));
    for (const NavSpec& spec : specs) {
        if (!buttons.contains(spec.button)) continue;
        QAction* a = bar->addAction(parent->style()->standardIcon(spec.icon), QString::fromUtf8(spec.hint));
        a->setObjectName(QString::fromLatin1(spec.name));
        a->setToolTip(QString::fromUtf8(spec.hint));
        NavButton b = spec.button;
        QObject::connect(a, &QAction::triggered, bar, [shared, b] { (*shared)(b); });
    }
    return bar;
}

ListWindow::ListWindow(ListConfig config, QWidget* parent) : QDialog(parent), config_(std::move(config)) {
    exportEnvironment = exports::defaultExportEnvironment();
    exportEnvironment.openFile = [](const QString& path) {
        return services().openUrl(QUrl::fromLocalFile(path));
    };
    setObjectName(config_.objectName);
    setWindowTitle(config_.title);
    setWindowFlag(Qt::WindowMaximizeButtonHint);
    auto* layout = new QVBoxLayout(this);
    upper_ = new QHBoxLayout;
    layout->addLayout(upper_);

    model_ = new RowsModel(config_.columns, this);
    grid_ = new QTableView(this);
    grid_->setObjectName(QStringLiteral("grid"));
    grid_->setModel(model_);
    grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid_->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid_->setSelectionMode(QAbstractItemView::SingleSelection);
    grid_->setAlternatingRowColors(false);
    grid_->verticalHeader()->setDefaultSectionSize(grid_->fontMetrics().height() + 8);
    grid_->verticalHeader()->setVisible(false);
    grid_->horizontalHeader()->setHighlightSections(false);
    grid_->horizontalHeader()->setStretchLastSection(true);
    layout->addWidget(grid_, 1);
    connect(grid_, &QTableView::doubleClicked, this, [this] { editCurrent(); });

    auto* bottom = new QHBoxLayout;
    navigator_ = makeNavigator(this, config_.navigator, [this](NavButton b) {
        int last = model_->rowCount() - 1;
        switch (b) {
        case NavButton::First:
            setCurrentPosition(0);
            break;
        case NavButton::Prior:
            setCurrentPosition(std::max(0, currentPosition() - 1));
            break;
        case NavButton::Next:
            setCurrentPosition(std::min(last, currentPosition() + 1));
            break;
        case NavButton::Last:
            setCurrentPosition(last);
            break;
        case NavButton::Delete:
            deleteCurrent(false);
            break;
        case NavButton::Cancel:
        case NavButton::Refresh:
            reloadAt(currentPosition());
            break;
        }
        grid_->setFocus();
    });
    bottom->addWidget(navigator_);
    lower_ = new QHBoxLayout;
    bottom->addLayout(lower_, 1);
    layout->addLayout(bottom);
    resize(900, 560);
}

void ListWindow::setColumns(QList<ListColumn> columns) {
    const int position = currentPosition();
    model_->setColumns(std::move(columns));
    applyColumnLayout();
    setCurrentPosition(position);
}

void ListWindow::applyColumnLayout() {
    const QFontMetrics fm = grid_->fontMetrics();
    for (int c = 0; c < model_->columns().size(); ++c) {
        const ListColumn& col = model_->columns()[c];
        grid_->setColumnHidden(c, !col.visible);
        if (col.width > 0)
            grid_->setColumnWidth(c, fm.horizontalAdvance(QLatin1Char('0')) * col.width + 12);
        else
            grid_->setColumnWidth(c, std::max(fm.horizontalAdvance(col.title) + 24, 60));
    }
}

QPushButton* ListWindow::addButton(QHBoxLayout* panel, const QString& caption, const QString& objectName,
                                   std::function<void()> action) {
    auto* b = new QPushButton(caption, this);
    b->setObjectName(objectName);
    b->setAutoDefault(false);
    connect(b, &QPushButton::clicked, this, [action = std::move(action)] { action(); });
    panel->addWidget(b);
    return b;
}

const db::Row* ListWindow::currentRow() const {
    return model_->row(currentPosition());
}

int ListWindow::currentPosition() const {
    QModelIndex i = grid_->currentIndex();
    return i.isValid() ? i.row() : (model_->rowCount() > 0 ? 0 : -1);
}

void ListWindow::setCurrentPosition(int position) {
    if (model_->rowCount() == 0) return;
    position = std::clamp(position, 0, model_->rowCount() - 1);
    int column = 0;
    while (column < model_->columnCount() - 1 && grid_->isColumnHidden(column))
        ++column;
    QModelIndex index = model_->index(position, column);
    grid_->setCurrentIndex(index);
    grid_->selectRow(position);
    grid_->scrollTo(index);
}

void ListWindow::reloadAt(int position) {
    db::Rows rows;
    try {
        if (loader) rows = loader();
    } catch (const std::exception&) {
        // A list that cannot be read opens empty; the operator can refresh it.
    }
    model_->setRows(std::move(rows));
    applyColumnLayout();
    setCurrentPosition(std::max(position, 0));
}

void ListWindow::reload(const std::optional<db::Value>& key) {
    reloadAt(0);
    if (key && !config_.keyField.isEmpty()) {
        int found = model_->find(config_.keyField, *key);
        if (found >= 0) setCurrentPosition(found);
    }
}

void ListWindow::editCurrent() {
    const db::Row* row = currentRow();
    if (!row || !onEdit) return;
    const int position = currentPosition();
    db::Row copy = *row;
    onEdit(copy);
    reloadAt(position);
    grid_->setFocus();
}

void ListWindow::addNew() {
    if (!onNew) return;
    std::optional<db::Value> key;
    if (!guarded(this, [&] { key = onNew(); })) return;
    if (key) reload(key);
    grid_->setFocus();
}

void ListWindow::deleteCurrent(bool fromKey) {
    const db::Row* row = currentRow();
    if (!row || !onDelete) return;
    if (beforeDelete && !beforeDelete(*row)) return;
    if (!services().ask(this, QStringLiteral("Ważne Pytanie"),
                        QStringLiteral("Czy napewno wykasować daną pozycję ?")))
        return;
    const int position = currentPosition();
    db::Row copy = *row;
    try {
        onDelete(copy);
    } catch (const std::exception& e) {
        if (!fromKey) showError(this, e);
    }
    // The row after the deleted one takes its place.
    reloadAt(position);
    grid_->setFocus();
}

void ListWindow::printList(const QString& projectFile) {
    reports::ReportJob job;
    job.projectFile = projectFile.isEmpty() ? config_.reportProject : projectFile;
    job.orientation = config_.orientation;
    if (reportParameters) job.parameters = reportParameters();
    job.data = reportData ? reportData() : reports::dataViewFromModel(config_.dataView, *model_);
    reports::ui::runReport(this, job);
    grid_->setFocus();
}

exports::ExportOutcome ListWindow::exportList(const QString& title) {
    return exports::ui::exportView(grid_, title, exportEnvironment);
}

void ListWindow::watchKeys(QObject* object) {
    object->installEventFilter(this);
    for (QObject* child : object->children())
        if (child->isWidgetType()) watchKeys(child);
}

void ListWindow::showEvent(QShowEvent* e) {
    watchKeys(this);
    QDialog::showEvent(e);
}

bool ListWindow::eventFilter(QObject* watched, QEvent* e) {
    if (e->type() != QEvent::KeyPress) return QDialog::eventFilter(watched, e);
    auto* key = static_cast<QKeyEvent*>(e);
    const bool textField = qobject_cast<QLineEdit*>(watched) != nullptr;
    switch (key->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (textField || (qobject_cast<QAbstractButton*>(watched) && watched != grid_))
            return false; // a text field or a button keeps its own Enter
        editCurrent();
        return true;
    case Qt::Key_Insert:
        addNew();
        return true;
    case Qt::Key_Delete:
        if (textField) return false;
        deleteCurrent(true);
        return true;
    case Qt::Key_Escape:
        reject();
        return true;
    default:
        return QDialog::eventFilter(watched, e);
    }
}

bool ListWindow::event(QEvent* e) {
    if (e->type() == QEvent::WindowActivate) grid_->setFocus();
    return QDialog::event(e);
}

} // namespace korven::ui

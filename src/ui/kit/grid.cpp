#include "ui/kit/grid.h"

#include "ui/kit/control.h"

#include <QApplication>
#include <QComboBox>
#include <QFocusEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QSignalBlocker>
#include <QStyleOptionHeader>
#include <QStyledItemDelegate>

#include <algorithm>
#include <cmath>

namespace pfsetup {

namespace {

constexpr int kChoicesRole = Qt::UserRole + 1;
constexpr int kStaticRole = Qt::UserRole + 2;

void DrawHeaderCell(QPainter* painter, const QRect& rect, const QString& text,
                    const QWidget* widget, Qt::Alignment alignment) {
    QStyleOptionHeader option;
    option.initFrom(widget);
    option.state &= ~(QStyle::State_HasFocus | QStyle::State_MouseOver);
    option.state |= QStyle::State_Raised;
    option.rect = rect;
    option.text = text;
    option.textAlignment = alignment;
    option.orientation = Qt::Horizontal;
    option.position = QStyleOptionHeader::Middle;
    // The style leaves the painter clipped to the section.
    painter->save();
    widget->style()->drawControl(QStyle::CE_Header, &option, painter, widget);
    painter->restore();
}

// Where a drop-down cell draws its arrow: a square at its right edge.
QRect ArrowRect(const QRect& cell) {
    const int side = std::min(cell.height(), 10);
    return QRect(cell.right() - side, cell.top(), side, cell.height());
}

} // namespace

// The fixed header rows, drawn over the columns of the grid: a cell per column and row, joined
// cells as one. The rows themselves stay in the model (hidden in the table), so every cell is
// read and written the same way.
class GridHeader : public QHeaderView {
public:
    explicit GridHeader(Grid* grid) : QHeaderView(Qt::Horizontal, grid), grid_(grid) {
        setSectionsClickable(false);
        setHighlightSections(false);
    }

    void SetRows(int rows) {
        rows_ = rows;
        setVisible(rows > 0);
        updateGeometry();
        viewport()->update();
    }
    void ClearJoins() { joins_.clear(); }
    void AddJoin(const QRect& cells) {
        joins_.push_back(cells);
        viewport()->update();
    }

    QSize sizeHint() const override {
        return QSize(QHeaderView::sizeHint().width(), rows_ * RowHeight());
    }

protected:
    void paintEvent(QPaintEvent* event) override {
        QPainter painter(viewport());
        const int height = RowHeight();
        for (int row = 0; row < rows_; ++row) {
            for (int col = 0; col < count(); ++col) {
                const QRect cells = JoinAt(row, col);
                if (cells.top() != row) {
                    continue;
                }
                int first = -1;
                int x = 0;
                int width = 0;
                for (int c = cells.left(); c <= cells.right() && c < count(); ++c) {
                    if (isSectionHidden(c)) {
                        continue;
                    }
                    if (first < 0) {
                        first = c;
                        x = sectionViewportPosition(c);
                    }
                    width += sectionSize(c);
                }
                if (first != col) {
                    continue; // drawn with the join's first visible column, or not at all
                }
                const QRect rect(x, row * height, width, cells.height() * height);
                if (rect.intersects(event->rect())) {
                    DrawHeaderCell(&painter, rect,
                                   model()->index(row, cells.left()).data().toString(), this,
                                   Qt::AlignCenter);
                }
            }
        }
    }

private:
    int RowHeight() const { return grid_->verticalHeader()->defaultSectionSize(); }
    QRect JoinAt(int row, int col) const {
        for (const QRect& join : joins_) {
            if (join.contains(col, row)) {
                return join;
            }
        }
        return QRect(col, row, 1, 1);
    }

    Grid* grid_;
    int rows_ = 0;
    std::vector<QRect> joins_; // in cells: x column, y row
};

// Editors and looks of the cells: a line edit for text, a drop-down list for choice cells
// (committed as soon as the user picks), header style for column 0.
class GridDelegate : public QStyledItemDelegate {
public:
    explicit GridDelegate(Grid* grid) : QStyledItemDelegate(grid), grid_(grid) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        if (grid_->IsHeaderCell(index.row(), index.column())) {
            DrawHeaderCell(painter, option.rect, index.data().toString(), grid_,
                           Qt::AlignLeft | Qt::AlignVCenter);
            return;
        }
        if (index.data(kChoicesRole).toString().isEmpty()) {
            QStyledItemDelegate::paint(painter, option, index);
            return;
        }
        // A drop-down cell: its background over the whole cell, the text elided before the
        // arrow at its right.
        QStyleOptionViewItem cell(option);
        initStyleOption(&cell, index);
        const QWidget* widget = grid_;
        QStyleOptionViewItem background(cell);
        background.text.clear();
        widget->style()->drawControl(QStyle::CE_ItemViewItem, &background, painter, widget);
        QStyleOption arrow;
        arrow.initFrom(widget);
        arrow.rect = ArrowRect(cell.rect);
        QStyleOptionViewItem text(cell);
        text.rect.setRight(arrow.rect.left());
        text.state &= ~QStyle::State_HasFocus;
        widget->style()->drawControl(QStyle::CE_ItemViewItem, &text, painter, widget);
        widget->style()->drawPrimitive(QStyle::PE_IndicatorArrowDown, &arrow, painter, widget);
    }

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&,
                          const QModelIndex& index) const override {
        const QString choices = index.data(kChoicesRole).toString();
        if (choices.isEmpty()) {
            auto* edit = new QLineEdit(parent);
            edit->setFrame(false);
            return edit;
        }
        auto* combo = new QComboBox(parent);
        combo->addItems(choices.split(QLatin1Char('\n'), Qt::SkipEmptyParts));
        auto* self = const_cast<GridDelegate*>(this);
        connect(combo, &QComboBox::currentIndexChanged, combo,
                [self, combo] { emit self->commitData(combo); });
        return combo;
    }

    // Escape closes the editor without taking its text, and goes no further: the dialog around
    // the grid must not take it for its own Escape.
    bool eventFilter(QObject* object, QEvent* event) override {
        const bool handled = QStyledItemDelegate::eventFilter(object, event);
        if (event->type() == QEvent::KeyPress &&
            static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
            return true;
        }
        return handled;
    }

    void setEditorData(QWidget* editor, const QModelIndex& index) const override {
        const QString text = index.data(Qt::EditRole).toString();
        if (auto* combo = qobject_cast<QComboBox*>(editor)) {
            QSignalBlocker block(combo);
            combo->setCurrentIndex(combo->findText(text, Qt::MatchExactly));
        } else if (auto* edit = qobject_cast<QLineEdit*>(editor)) {
            edit->setText(text);
        }
    }

    void setModelData(QWidget* editor, QAbstractItemModel* model,
                      const QModelIndex& index) const override {
        QString text;
        if (auto* combo = qobject_cast<QComboBox*>(editor)) {
            if (combo->currentIndex() < 0) {
                return; // nothing picked: the cell keeps its text
            }
            text = combo->currentText();
        } else if (auto* edit = qobject_cast<QLineEdit*>(editor)) {
            text = edit->text();
        } else {
            return;
        }
        const QString before = index.data(Qt::EditRole).toString();
        if (text == before) {
            return;
        }
        model->setData(index, text, Qt::EditRole);
        grid_->NoteUserEdit(before);
    }

private:
    Grid* grid_;
};

Grid::Grid(QWidget* parent) : QTableWidget(parent), header_(new GridHeader(this)) {
    setHorizontalHeader(header_);
    verticalHeader()->hide();
    const int rowHeight = fontMetrics().height() + 8;
    verticalHeader()->setMinimumSectionSize(1);
    verticalHeader()->setDefaultSectionSize(rowHeight);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    setItemDelegate(new GridDelegate(this));
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                    QAbstractItemView::AnyKeyPressed);
    setWordWrap(false);
    SetHeaderRows(1);
}

void Grid::Initialize(int rowCount, int colCount) {
    muted_ = true;
    clear();
    clearSpans();
    header_->ClearJoins();
    setRowCount(std::max(rowCount, 0) + 1);
    setColumnCount(std::max(colCount, 0) + 1);
    for (int row = 0; row < this->rowCount(); ++row) {
        for (int col = 0; col < columnCount(); ++col) {
            MakeCell(row, col);
        }
    }
    muted_ = false;
    modified_ = false;
    SetHeaderRows(headerRows_);
}

void Grid::SetHeaderRows(int count) {
    headerRows_ = std::max(count, 0);
    for (int row = 0; row < rowCount(); ++row) {
        setRowHidden(row, row < headerRows_);
        for (int col = 0; col < columnCount(); ++col) {
            if (QTableWidgetItem* item = CellItem(row, col)) {
                ApplyFlags(item, row, col);
            }
        }
    }
    header_->SetRows(headerRows_);
    updateGeometries();
}

void Grid::JoinCells(int top, int left, int bottom, int right) {
    if (bottom < top || right < left) {
        return;
    }
    if (bottom < headerRows_) {
        header_->AddJoin(QRect(left, top, right - left + 1, bottom - top + 1));
    } else if (top >= headerRows_) {
        setSpan(top, left, bottom - top + 1, right - left + 1);
    }
}

QTableWidgetItem* Grid::CellItem(int row, int col) const {
    return item(row, col);
}

QTableWidgetItem* Grid::MakeCell(int row, int col) {
    auto* cell = new QTableWidgetItem;
    ApplyFlags(cell, row, col);
    setItem(row, col, cell);
    return cell;
}

void Grid::ApplyFlags(QTableWidgetItem* item, int row, int col) const {
    const bool enterable = !IsHeaderCell(row, col) && !item->data(kStaticRole).toBool();
    item->setFlags(enterable ? Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable
                             : Qt::NoItemFlags);
}

std::string Grid::GetCellText(int row, int col) const {
    const QTableWidgetItem* cell = CellItem(row, col);
    return cell ? ToStdString(cell->text()) : std::string();
}

void Grid::SetCellText(int row, int col, const std::string& text) {
    if (QTableWidgetItem* cell = CellItem(row, col)) {
        cell->setText(ToQString(text));
    }
}

void Grid::SetChoiceList(int row, int col, const std::string& choices) {
    if (QTableWidgetItem* cell = CellItem(row, col)) {
        cell->setData(kChoicesRole, ToQString(choices));
    }
}

std::string Grid::GetChoiceList(int row, int col) const {
    const QTableWidgetItem* cell = CellItem(row, col);
    return cell ? ToStdString(cell->data(kChoicesRole).toString()) : std::string();
}

void Grid::SetStaticDisabled(int row, int col) {
    QTableWidgetItem* cell = CellItem(row, col);
    if (!cell) {
        return;
    }
    cell->setData(kStaticRole, true);
    cell->setData(kChoicesRole, QVariant());
    cell->setBackground(QColor(kDisabledBackground));
    // Disabled, but its text as readable as any other.
    cell->setForeground(palette().brush(QPalette::Active, QPalette::Text));
    ApplyFlags(cell, row, col);
}

bool Grid::IsStaticDisabled(int row, int col) const {
    const QTableWidgetItem* cell = CellItem(row, col);
    return cell && cell->data(kStaticRole).toBool();
}

void Grid::ResetCellStyle(int row, int col) {
    QTableWidgetItem* cell = CellItem(row, col);
    if (!cell) {
        return;
    }
    cell->setData(kStaticRole, QVariant());
    cell->setData(kChoicesRole, QVariant());
    cell->setData(Qt::BackgroundRole, QVariant());
    cell->setData(Qt::ForegroundRole, QVariant());
    ApplyFlags(cell, row, col);
}

bool Grid::IsEnterable(int row, int col) const {
    const QTableWidgetItem* cell = CellItem(row, col);
    return cell && (cell->flags() & Qt::ItemIsEnabled);
}

void Grid::InsertRows(int row, int count) {
    row = std::clamp(row, std::max(headerRows_, 1), rowCount());
    muted_ = true;
    for (int i = 0; i < count; ++i) {
        insertRow(row + i);
        for (int col = 0; col < columnCount(); ++col) {
            MakeCell(row + i, col);
        }
    }
    muted_ = false;
}

void Grid::RemoveRows(int first, int last) {
    first = std::max({first, headerRows_, 1});
    last = std::min(last, GetRowCount());
    if (first > last) {
        return;
    }
    muted_ = true;
    const int current = currentIndex().row();
    if (current >= first && current <= last) {
        selectionModel()->clearCurrentIndex();
        selectionModel()->clearSelection();
        modified_ = false;
    }
    for (int row = last; row >= first; --row) {
        removeRow(row);
    }
    muted_ = false;
}

bool Grid::SetCurrentCell(int row, int col) {
    if (!IsEnterable(row, col)) {
        return false;
    }
    const QModelIndex target = model()->index(row, col);
    if (currentIndex() != target) {
        refused_ = false;
        selectionModel()->setCurrentIndex(target, QItemSelectionModel::ClearAndSelect);
        if (refused_ || currentIndex() != target) {
            return false;
        }
    }
    scrollTo(target);
    return true;
}

bool Grid::GetCurrentCell(int& row, int& col) const {
    const QModelIndex current = currentIndex();
    if (!current.isValid()) {
        return false;
    }
    row = current.row();
    col = current.column();
    return true;
}

bool Grid::TransferCurrentCell() {
    const QModelIndex current = currentIndex();
    if (!current.isValid()) {
        return true;
    }
    if (QWidget* editor = indexWidget(current)) {
        commitData(editor);
        closeEditor(editor, QAbstractItemDelegate::NoHint);
    }
    const int row = current.row();
    int col = current.column();
    if (modified_) {
        if (!OnValidateCell(row, col)) {
            FocusCell(row, col);
            return false;
        }
        modified_ = false;
    }
    if (!OnValidateRow(row, col)) {
        FocusCell(row, col);
        return false;
    }
    return true;
}

int Grid::ScaledWidth(int pixels) const {
    // The horizontal dialog base unit: the average width of the letters, 6 pixels for the
    // original font.
    constexpr double kOriginalBaseUnit = 6.0;
    const double baseUnit = fontMetrics().horizontalAdvance(QStringLiteral(
                                "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz")) /
                            52.0;
    const double scale = std::max(1.0, baseUnit / kOriginalBaseUnit);
    return static_cast<int>(std::lround(pixels * scale));
}

QSize Grid::ContentSize() const {
    int width = 2 * frameWidth();
    for (int col = 0; col < columnCount(); ++col) {
        if (!isColumnHidden(col)) {
            width += columnWidth(col);
        }
    }
    int height = 2 * frameWidth() + (header_->isHidden() ? 0 : header_->sizeHint().height());
    for (int row = headerRows_; row < rowCount(); ++row) {
        if (!isRowHidden(row)) {
            height += rowHeight(row);
        }
    }
    return QSize(width, height);
}

// The base has already moved and committed what the user typed into the cell left behind;
// a refusal moves back.
void Grid::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    QTableWidget::currentChanged(current, previous);
    if (muted_ || reverting_) {
        return;
    }
    if (modified_ && previous.isValid()) {
        if (!OnValidateCell(previous.row(), previous.column())) {
            Revert(previous); // the refused text stays, to be fixed or checked again
            return;
        }
    }
    modified_ = false;
    if (previous.isValid() && current.isValid() && previous.row() != current.row()) {
        int fixCol = previous.column();
        if (!OnValidateRow(previous.row(), fixCol)) {
            Revert(model()->index(previous.row(), fixCol));
            return;
        }
    }
    if (current.isValid()) {
        OnMovedCurrentCell(current.row(), current.column());
    }
}

void Grid::Revert(const QModelIndex& cell) {
    refused_ = true;
    const QPersistentModelIndex target(cell);
    reverting_ = true;
    selectionModel()->setCurrentIndex(target, QItemSelectionModel::ClearAndSelect);
    reverting_ = false;
    scrollTo(target);
    setFocus(Qt::OtherFocusReason);
}

void Grid::FocusCell(int row, int col) {
    if (!CellItem(row, col)) {
        return;
    }
    Revert(model()->index(row, col));
    refused_ = false;
}

void Grid::NoteUserEdit(const QString& before) {
    if (!modified_) {
        original_ = before;
    }
    modified_ = true;
}

// Only the current cell is edited: after a refused move the cell the user aimed at is not.
bool Grid::edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) {
    if (index != currentIndex()) {
        return false;
    }
    return QTableWidget::edit(index, trigger, event);
}

// Tab and Backtab in an editor move on and edit the next cell, unless the move was refused;
// past the last cell (or before the first) they leave the grid.
void Grid::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) {
    if (hint != QAbstractItemDelegate::EditNextItem &&
        hint != QAbstractItemDelegate::EditPreviousItem) {
        QTableWidget::closeEditor(editor, hint);
        return;
    }
    QTableWidget::closeEditor(editor, QAbstractItemDelegate::NoHint);
    const bool forward = hint == QAbstractItemDelegate::EditNextItem;
    const QModelIndex next = TabTarget(currentIndex(), forward);
    if (!next.isValid()) {
        // Leaving goes through the same checks as a move inside the grid.
        if (TransferCurrentCell()) {
            // Past the cells: the item view's own step would move to the next cell.
            QWidget::focusNextPrevChild(forward); // NOLINT(bugprone-parent-virtual-call)
        }
        return;
    }
    refused_ = false;
    selectionModel()->setCurrentIndex(next, QItemSelectionModel::ClearAndSelect);
    if (!refused_ && currentIndex() == next && (next.flags() & Qt::ItemIsEditable)) {
        edit(next, AllEditTriggers, nullptr);
    }
}

bool Grid::IsTabStop(int row, int col) const {
    return row >= headerRows_ && !isRowHidden(row) && !isColumnHidden(col) && IsEnterable(row, col);
}

QModelIndex Grid::TabTarget(const QModelIndex& from, bool forward) const {
    const int cols = columnCount();
    const int first = std::max(headerRows_, 1) * cols;
    const int last = (std::min(LastTabRow(), GetRowCount()) + 1) * cols - 1;
    int pos = from.isValid() ? from.row() * cols + from.column() : (forward ? first - 1 : last + 1);
    for (pos += forward ? 1 : -1; pos >= first && pos <= last; pos += forward ? 1 : -1) {
        if (IsTabStop(pos / cols, pos % cols)) {
            return model()->index(pos / cols, pos % cols);
        }
    }
    return QModelIndex();
}

// Tab moves cell by cell, not around the table's ends: past them it goes on to the dialog's
// next control.
bool Grid::focusNextPrevChild(bool next) {
    if (!tabKeyNavigation() || !hasFocus()) {
        return QWidget::focusNextPrevChild(next); // NOLINT(bugprone-parent-virtual-call)
    }
    const QModelIndex target = TabTarget(currentIndex(), next);
    if (!target.isValid()) {
        if (!TransferCurrentCell()) {
            return true;
        }
        return QWidget::focusNextPrevChild(next); // NOLINT(bugprone-parent-virtual-call)
    }
    refused_ = false;
    selectionModel()->setCurrentIndex(target, QItemSelectionModel::ClearAndSelect);
    scrollTo(currentIndex());
    return true;
}

// Reached by keyboard the grid shows a current cell at once: the first one (the last one from
// behind), or the one the user was in.
void Grid::focusInEvent(QFocusEvent* event) {
    QTableWidget::focusInEvent(event);
    if (event->reason() == Qt::MouseFocusReason || muted_) {
        return;
    }
    const QModelIndex current = currentIndex();
    if (current.isValid() && IsTabStop(current.row(), current.column())) {
        if (!selectionModel()->isSelected(current)) {
            selectionModel()->select(current, QItemSelectionModel::ClearAndSelect);
        }
        return;
    }
    const QModelIndex target = TabTarget(QModelIndex(), event->reason() != Qt::BacktabFocusReason);
    if (target.isValid()) {
        SetCurrentCell(target.row(), target.column());
    }
}

// The current cell is shown selected only while the user works in the grid.
void Grid::focusOutEvent(QFocusEvent* event) {
    QTableWidget::focusOutEvent(event);
    const QWidget* now = QApplication::focusWidget();
    if (!now || (now != this && !isAncestorOf(now))) {
        selectionModel()->clearSelection();
    }
}

// Enter ends the editing of a cell (the editor's doing); it must not reach the dialog around
// the grid and press its default button. Escape outside an editor gives back the current cell,
// or else the row, when there is something to give back; otherwise it reaches the dialog.
void Grid::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        event->accept();
        return;
    }
    const QModelIndex current = currentIndex();
    if (key == Qt::Key_Escape && modifiers == Qt::NoModifier && current.isValid()) {
        if (modified_) {
            model()->setData(current, original_, Qt::EditRole);
            modified_ = false;
            event->accept();
            return;
        }
        if (OnEscapeRow(current.row())) {
            event->accept();
            return;
        }
    }
    const bool openList = (key == Qt::Key_Down && modifiers == Qt::AltModifier) ||
                          (key == Qt::Key_F4 && modifiers == Qt::NoModifier);
    if (openList && current.isValid() && !current.data(kChoicesRole).toString().isEmpty()) {
        OpenList();
        event->accept();
        return;
    }
    QTableWidget::keyPressEvent(event);
}

void Grid::OpenList() {
    const QModelIndex current = currentIndex();
    if (edit(current, EditKeyPressed, nullptr)) {
        if (auto* combo = qobject_cast<QComboBox*>(indexWidget(current))) {
            combo->showPopup();
        }
    }
}

QModelIndex Grid::ArrowAt(const QPoint& pos) const {
    const QModelIndex index = indexAt(pos);
    if (!index.isValid() || index.data(kChoicesRole).toString().isEmpty() ||
        !(index.flags() & Qt::ItemIsEnabled) || !ArrowRect(visualRect(index)).contains(pos)) {
        return QModelIndex();
    }
    return index;
}

void Grid::mousePressEvent(QMouseEvent* event) {
    refused_ = false;
    arrowPressed_ = ArrowAt(event->position().toPoint());
    QTableWidget::mousePressEvent(event);
    if (refused_) { // the base selects the pressed cell after the move was undone
        selectionModel()->select(currentIndex(), QItemSelectionModel::ClearAndSelect);
    }
}

// A click on the arrow of a drop-down cell opens its list, once the cell could be entered.
void Grid::mouseReleaseEvent(QMouseEvent* event) {
    QTableWidget::mouseReleaseEvent(event);
    const QModelIndex pressed = arrowPressed_;
    arrowPressed_ = QModelIndex();
    if (pressed.isValid() && pressed == currentIndex() &&
        ArrowAt(event->position().toPoint()) == pressed && !indexWidget(pressed)) {
        OpenList();
    }
}

// Dragging would move the current cell through every cell on the way, each a move the cell
// being left could refuse.
void Grid::mouseMoveEvent(QMouseEvent* event) {
    if (event->buttons() != Qt::NoButton) {
        event->accept();
        return;
    }
    QTableWidget::mouseMoveEvent(event);
}

} // namespace pfsetup

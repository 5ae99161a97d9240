#include "toolkit/ListView.h"

#include "toolkit/Text.h"

#include <QHeaderView>
#include <QMouseEvent>

namespace {
constexpr int CaptionRole = Qt::UserRole + 1;
constexpr int SubItemsRole = Qt::UserRole + 2;

QByteArray Bytes(const std::string& text) {
    return QByteArray(text.data(), static_cast<qsizetype>(text.size()));
}

std::string Text(const QByteArray& bytes) {
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}
} // namespace

TListView::TListView(QWidget* parent, const std::vector<TListColumn>& columns)
    : QTreeWidget(parent) {
    setRootIsDecorated(false);
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setColumnCount(static_cast<int>(columns.size()));
    QStringList labels;
    for (const auto& column : columns)
        labels << QString::fromLatin1(column.Caption);
    setHeaderLabels(labels);
    header()->setStretchLastSection(false);
    header()->setSectionsMovable(false);
    for (std::size_t i = 0; i < columns.size(); ++i) {
        const int column = static_cast<int>(i);
        setColumnWidth(column, columns[i].Width);
        FRightAligned.push_back(columns[i].RightAligned);
        if (columns[i].RightAligned)
            headerItem()->setTextAlignment(column, Qt::AlignRight | Qt::AlignVCenter);
    }
    connect(this, &QTreeWidget::itemChanged, this, &TListView::CaptionEdited);
}

QTreeWidgetItem* TListView::NewItem(const std::string& caption,
                                    const std::vector<std::string>& subItems) const {
    auto* item = new QTreeWidgetItem;
    item->setData(0, CaptionRole, Bytes(caption));
    QList<QByteArray> kept;
    kept.reserve(static_cast<qsizetype>(subItems.size()));
    for (const auto& subItem : subItems)
        kept.append(Bytes(subItem));
    item->setData(0, SubItemsRole, QVariant::fromValue(kept));
    if (FEditable)
        item->setFlags(item->flags() | Qt::ItemIsEditable);
    // Texts set before the item joins the list cost the view no update each.
    ShowTexts(*item);
    return item;
}

int TListView::AddRow(const std::string& caption, const std::vector<std::string>& subItems) {
    addTopLevelItem(NewItem(caption, subItems));
    return topLevelItemCount() - 1;
}

void TListView::AddRows(const std::vector<TListRow>& rows) {
    if (rows.empty())
        return;
    QList<QTreeWidgetItem*> items;
    items.reserve(static_cast<qsizetype>(rows.size()));
    for (const auto& row : rows)
        items.append(NewItem(row.Caption, row.SubItems));
    addTopLevelItems(items);
}

void TPendingRows::Add(std::string caption, std::vector<std::string> subItems) {
    FRows.push_back({std::move(caption), std::move(subItems)});
}

void TPendingRows::SetLastCaption(std::string caption) {
    if (!FRows.empty())
        FRows.back().Caption = std::move(caption);
    else if (FList.RowCount() > 0)
        FList.SetCaption(FList.RowCount() - 1, caption);
}

void TPendingRows::Show() {
    const auto rows = std::move(FRows);
    FRows.clear();
    FList.AddRows(rows);
}

void TListView::DeleteRow(int row) {
    delete takeTopLevelItem(row);
}

void TListView::Clear() {
    clear();
}

std::string TListView::Caption(int row) const {
    return Text(topLevelItem(row)->data(0, CaptionRole).toByteArray());
}

void TListView::SetCaption(int row, const std::string& caption) {
    FRefreshing = true;
    topLevelItem(row)->setData(0, CaptionRole, Bytes(caption));
    RefreshRow(row);
}

int TListView::SubItemCount(int row) const {
    return static_cast<int>(
        topLevelItem(row)->data(0, SubItemsRole).value<QList<QByteArray>>().size());
}

std::string TListView::SubItem(int row, int index) const {
    const auto subItems = topLevelItem(row)->data(0, SubItemsRole).value<QList<QByteArray>>();
    return Text(subItems.at(index));
}

int TListView::Selected() const {
    const auto items = selectedItems();
    return items.isEmpty() ? -1 : indexOfTopLevelItem(items.first());
}

void TListView::SetSelected(int row) {
    clearSelection();
    if (row >= 0 && row < RowCount()) {
        auto* item = topLevelItem(row);
        item->setSelected(true);
        setCurrentItem(item);
    }
}

void TListView::SetCaptionsEditable(bool editable) {
    FEditable = editable;
    setEditTriggers(editable
                        ? QAbstractItemView::SelectedClicked | QAbstractItemView::EditKeyPressed
                        : QAbstractItemView::NoEditTriggers);
}

// Shows a row's kept texts; the changes this makes are not edits by the user.
void TListView::RefreshRow(int row) {
    FRefreshing = true;
    ShowTexts(*topLevelItem(row));
    FRefreshing = false;
}

void TListView::ShowTexts(QTreeWidgetItem& item) const {
    item.setText(0, ToQString(Text(item.data(0, CaptionRole).toByteArray())));
    const auto subItems = item.data(0, SubItemsRole).value<QList<QByteArray>>();
    for (int column = 1; column < columnCount(); ++column) {
        const auto index = static_cast<qsizetype>(column - 1);
        item.setText(column,
                     index < subItems.size() ? ToQString(Text(subItems[index])) : QString());
        if (FRightAligned[static_cast<std::size_t>(column)])
            item.setTextAlignment(column, Qt::AlignRight | Qt::AlignVCenter);
    }
}

void TListView::CaptionEdited(QTreeWidgetItem* item, int column) {
    if (FRefreshing || column != 0)
        return;
    item->setData(0, CaptionRole, Bytes(FromQString(item->text(0))));
}

void TListView::mouseDoubleClickEvent(QMouseEvent* event) {
    QTreeWidget::mouseDoubleClickEvent(event);
    emit DblClick();
}

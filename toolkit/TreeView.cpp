#include "toolkit/TreeView.h"

#include "platform/Collate.h"
#include "toolkit/Text.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>

namespace {
const char* const NodeMimeType = "application/x-tunestead-tree-node";

void SortChildren(TTreeNode& node) {
    if (node.Children.size() > 1) {
        std::vector<const std::string*> texts;
        texts.reserve(node.Children.size());
        for (const auto& child : node.Children)
            texts.push_back(&child->Text);
        const auto order = platform::TextOrder(texts);
        std::vector<std::unique_ptr<TTreeNode>> sorted;
        sorted.reserve(order.size());
        for (auto position : order)
            sorted.push_back(std::move(node.Children[position]));
        node.Children = std::move(sorted);
        for (std::size_t i = 0; i < node.Children.size(); ++i)
            node.Children[i]->Index = static_cast<int>(i);
    }
    for (auto& child : node.Children)
        SortChildren(*child);
}
} // namespace

TTreeModel::TTreeModel(QObject* parent) : QAbstractItemModel(parent) {}

void TTreeModel::Reset(const std::function<void()>& change) {
    beginResetModel();
    if (change)
        change();
    endResetModel();
}

TTreeNode* TTreeModel::Node(const QModelIndex& index) const {
    return index.isValid() ? static_cast<TTreeNode*>(index.internalPointer()) : nullptr;
}

QModelIndex TTreeModel::IndexOf(const TTreeNode* node) const {
    if (node == nullptr || node == &FRoot)
        return {};
    return createIndex(node->Index, 0, const_cast<TTreeNode*>(node));
}

QModelIndex TTreeModel::index(int row, int column, const QModelIndex& parent) const {
    const TTreeNode* owner = parent.isValid() ? Node(parent) : &FRoot;
    if (column != 0 || row < 0 || row >= static_cast<int>(owner->Children.size()))
        return {};
    return createIndex(row, 0, owner->Children[static_cast<std::size_t>(row)].get());
}

QModelIndex TTreeModel::parent(const QModelIndex& child) const {
    const TTreeNode* node = Node(child);
    if (node == nullptr || node->Parent == nullptr || node->Parent == &FRoot)
        return {};
    return IndexOf(node->Parent);
}

int TTreeModel::rowCount(const QModelIndex& parent) const {
    if (parent.column() > 0)
        return 0;
    const TTreeNode* owner = parent.isValid() ? Node(parent) : &FRoot;
    return static_cast<int>(owner->Children.size());
}

int TTreeModel::columnCount(const QModelIndex&) const {
    return 1;
}

QVariant TTreeModel::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole)
        return {};
    const TTreeNode* node = Node(index);
    return node == nullptr ? QVariant() : QVariant(ToQString(node->Text));
}

Qt::ItemFlags TTreeModel::flags(const QModelIndex& index) const {
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDragEnabled;
}

QStringList TTreeModel::mimeTypes() const {
    return {QString::fromLatin1(NodeMimeType)};
}

QMimeData* TTreeModel::mimeData(const QModelIndexList&) const {
    // The drop target asks the tree itself for its selected node.
    auto* data = new QMimeData;
    data->setData(QString::fromLatin1(NodeMimeType), QByteArray());
    return data;
}

TTreeView::TTreeView(QWidget* parent) : QTreeView(parent), FModel(new TTreeModel(this)) {
    setModel(FModel);
    setHeaderHidden(true);
    setUniformRowHeights(true);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setDragEnabled(true);
    setDragDropMode(QAbstractItemView::DragOnly);
    setIndentation(19);
    connect(this, &QTreeView::clicked, this, &TTreeView::NodeClicked);
    connect(this, &QTreeView::doubleClicked, this, &TTreeView::NodeDoubleClicked);
}

TTreeNode* TTreeView::AddTop(std::string text) {
    return AddChild(&FModel->Root(), std::move(text), std::nullopt);
}

TTreeNode* TTreeView::AddChild(TTreeNode* parent, std::string text,
                               std::optional<std::string> nodeData) {
    auto node = std::make_unique<TTreeNode>();
    node->Text = std::move(text);
    node->Data = std::move(nodeData);
    node->Parent = parent;
    node->Index = static_cast<int>(parent->Children.size());
    parent->Children.push_back(std::move(node));
    FDirty = true;
    return parent->Children.back().get();
}

void TTreeView::Flush() {
    if (!FDirty)
        return;
    FDirty = false;
    FModel->Reset(nullptr);
}

void TTreeView::Clear() {
    FModel->Reset([this] { FModel->Root().Children.clear(); });
    FDirty = false;
}

int TTreeView::TopCount() const {
    return static_cast<int>(FModel->Root().Children.size());
}

TTreeNode* TTreeView::Top(int index) const {
    return FModel->Root().Children.at(static_cast<std::size_t>(index)).get();
}

void TTreeView::SetSortByText(bool sorted) {
    FSorted = sorted;
    if (sorted) {
        FModel->Reset([this] { SortChildren(FModel->Root()); });
        FDirty = false;
    }
}

TTreeNode* TTreeView::Selected() const {
    return FModel->Node(currentIndex().isValid() && selectionModel()->isSelected(currentIndex())
                            ? currentIndex()
                            : QModelIndex());
}

void TTreeView::Select(const TTreeNode* node) {
    const auto index = FModel->IndexOf(node);
    if (node != nullptr && node->Parent != nullptr)
        expand(FModel->IndexOf(node->Parent));
    setCurrentIndex(index);
}

void TTreeView::keyPressEvent(QKeyEvent* event) {
    FPressedKeys.insert(event->key());
    QTreeView::keyPressEvent(event);
}

void TTreeView::keyReleaseEvent(QKeyEvent* event) {
    QTreeView::keyReleaseEvent(event);
    if (FPressedKeys.remove(event->key()))
        emit KeyReleased(event->key());
}

void TTreeView::focusOutEvent(QFocusEvent* event) {
    FPressedKeys.clear();
    QTreeView::focusOutEvent(event);
}

void TTreeView::mousePressEvent(QMouseEvent* event) {
    // A press on empty space keeps the selection, as the system's tree controls do; the view
    // itself would clear it.
    const bool onEmpty = !indexAt(event->position().toPoint()).isValid();
    FPressedOnEmpty = onEmpty && event->button() == Qt::LeftButton;
    if (onEmpty)
        event->accept();
    else
        QTreeView::mousePressEvent(event);
}

void TTreeView::mouseReleaseEvent(QMouseEvent* event) {
    QTreeView::mouseReleaseEvent(event);
    const bool clickOnEmpty = FPressedOnEmpty && event->button() == Qt::LeftButton &&
                              !indexAt(event->position().toPoint()).isValid();
    FPressedOnEmpty = false;
    if (clickOnEmpty)
        emit NodeClicked();
}

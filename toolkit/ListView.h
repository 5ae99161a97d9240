// A report-style list: each row has a caption and sub-items kept as the program's own
// bytes. Sub-item i shows in column i + 1 when that column exists; others are kept unseen.
#pragma once

#include <QTreeWidget>

#include <string>
#include <vector>

struct TListColumn {
    const char* Caption;
    int Width;
    bool RightAligned = false;
};

// A row of a list: its caption and sub-items.
struct TListRow {
    std::string Caption;
    std::vector<std::string> SubItems;
};

class TListView : public QTreeWidget {
    Q_OBJECT
public:
    TListView(QWidget* parent, const std::vector<TListColumn>& columns);

    int RowCount() const { return topLevelItemCount(); }
    // Appends a row whole, its sub-items included, and returns its position.
    int AddRow(const std::string& caption, const std::vector<std::string>& subItems = {});
    // Appends rows whole, in one update of the view.
    void AddRows(const std::vector<TListRow>& rows);
    void DeleteRow(int row);
    void Clear();

    std::string Caption(int row) const;
    void SetCaption(int row, const std::string& caption);
    int SubItemCount(int row) const;
    std::string SubItem(int row, int index) const;

    // The selected row, or -1.
    int Selected() const;
    void SetSelected(int row);

    // Lets the user edit captions in place; an edit changes only the caption shown and kept.
    void SetCaptionsEditable(bool editable);

    void SetColumnWidth(int column, int width) { setColumnWidth(column, width); }

signals:
    // A double-click anywhere in the list, on a row or not.
    void DblClick();

protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    QTreeWidgetItem* NewItem(const std::string& caption,
                             const std::vector<std::string>& subItems) const;
    void RefreshRow(int row);
    // The display texts of an item from the bytes it keeps.
    void ShowTexts(QTreeWidgetItem& item) const;
    void CaptionEdited(QTreeWidgetItem* item, int column);

    std::vector<bool> FRightAligned;
    bool FEditable = false;
    bool FRefreshing = false;
};

// The rows a reading finds, gathered and added to a list in one go: whenever a box is about to
// show, so that the list behind it holds every row found so far, and when the reading ends.
class TPendingRows {
public:
    explicit TPendingRows(TListView& list) : FList(list) {}

    void Add(std::string caption, std::vector<std::string> subItems);
    // Sets the caption of the row added last, whether it is still gathered or already shown.
    void SetLastCaption(std::string caption);
    // Adds the rows gathered so far to the list.
    void Show();
    // Runs reading and then adds the rows it gathered, also when it throws; returns what it
    // returns.
    template <class TReading>
    auto ShowAfter(TReading&& reading) {
        try {
            auto result = reading();
            Show();
            return result;
        } catch (...) {
            Show();
            throw;
        }
    }

private:
    TListView& FList;
    std::vector<TListRow> FRows;
};

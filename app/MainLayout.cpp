// Places the main window's controls and menus, in the order and at the places of its layout.
#include "app/Main.h"

#include "toolkit/Controls.h"
#include "toolkit/ListView.h"
#include "toolkit/StatusBar.h"
#include "toolkit/TreeView.h"

#include <algorithm>

void TMainFrm::CreateControls() {
    PageControl1 = new QTabWidget(this);
    PageControl1->setGeometry(2, 1, 510, 300);
    PlayTab = new QWidget;
    SearchTab = new QWidget;
    PageControl1->addTab(PlayTab, QStringLiteral("Player"));
    PageControl1->addTab(SearchTab, QStringLiteral("Search"));

    TreeLst = new TTreeView(PlayTab);
    TreeLst->setGeometry(3, 2, 220, 165);
    AlbumBar = new TStatusBar(PlayTab, {70, 50});
    AlbumBar->setGeometry(4, 166, 218, 19);
    ItemsLst = new TListView(PlayTab, {{"Name", 193}, {"Length", 62, true}});
    ItemsLst->setGeometry(225, 2, 274, 248);
    ItemsLst->setDragEnabled(true);
    ItemsLst->setDragDropMode(QAbstractItemView::DragOnly);
    SongBar = new TStatusBar(PlayTab, {70, 50});
    SongBar->setGeometry(226, 249, 272, 19);
    GroupBox2 = NewGroupBox(PlayTab, " Play &mode ", 3, 191, 120, 72);
    LocalRandomRdb = NewRadioButton(GroupBox2, "&Local random play", 7, 16, 107, 17);
    FullRandomRdb = NewRadioButton(GroupBox2, "&Full random play", 7, 33, 98, 17);
    SequencialRdb = NewRadioButton(GroupBox2, "&Sequential play", 7, 50, 94, 17);
    SequencialRdb->setChecked(true);
    PlayBtn = NewButton(PlayTab, "&Play", 137, 202, 75, 25);
    PlayBtn->setEnabled(false);
    Button2 = NewButton(PlayTab, "Play&List", 137, 233, 75, 25);

    GroupBox1 = NewGroupBox(SearchTab, " &Search query", 2, 2, 495, 53);
    Label1 = NewLabel(GroupBox1, "Category/Singer - Album", 12, 23);
    Label2 = new QLabel(QStringLiteral(" Not yet fully implemented "), GroupBox1);
    // Liberation Serif has Times New Roman's widths, where Times New Roman is missing.
    QFont boldFont;
    boldFont.setFamilies({QStringLiteral("Times New Roman"), QStringLiteral("Liberation Serif")});
    boldFont.setStyleHint(QFont::Serif);
    boldFont.setPixelSize(15);
    boldFont.setBold(true);
    Label2->setFont(boldFont);
    Label2->setStyleSheet(QStringLiteral("color: black"));
    Label2->setAutoFillBackground(true);
    // Should a wider serif stand in after all, the label grows rather than cut its text.
    Label2->setGeometry(148, -2, std::max(176, Label2->sizeHint().width()), 17);
    SearchEdt = NewEdit(GroupBox1, 132, 19, 292, 21);
    Button1 = NewButton(GroupBox1, "&Search", 430, 17, 52, 25);
    GroupBox3 = NewGroupBox(SearchTab, " Search &results ", 2, 56, 495, 211);
    SearchResLst =
        new TListView(GroupBox3, {{"Album", 207}, {"Category/Singer", 207}, {"CD Nr", 50}});
    SearchResLst->setGeometry(6, 14, 483, 190);
    SearchResLst->SetCaptionsEditable(true);

    // Names for screen readers where no caption of the control's own says what it is.
    TreeLst->setAccessibleName(QStringLiteral("Album tree"));
    AlbumBar->setAccessibleName(QStringLiteral("Album tree totals"));
    ItemsLst->setAccessibleName(QStringLiteral("Songs of the album"));
    SongBar->setAccessibleName(QStringLiteral("Album totals"));
    SearchEdt->setAccessibleName(QStringLiteral("Category/Singer - Album"));
    SearchResLst->setAccessibleName(QStringLiteral("Search results"));

    QWidget::setTabOrder(GroupBox2, PlayBtn);
    QWidget::setTabOrder(PlayBtn, Button2);
    QWidget::setTabOrder(Button2, TreeLst);
    QWidget::setTabOrder(TreeLst, ItemsLst);
}

void TMainFrm::CreateMenus() {
    MainPop = new QMenu(this);
    Refreshalbumtree1 = MainPop->addAction(QStringLiteral("&Refresh album tree"));
    MainPop->addSeparator();
    AddMP3Folder1 = MainPop->addAction(QString::fromUtf8("A&dd MP3 folder\u2026"));
    RefreshMP3Folders1 = MainPop->addAction(QStringLiteral("Refresh &MP3 folders"));
    MainPop->addSeparator();
    Preferences1 = MainPop->addAction(QStringLiteral("&Preferences"));
    MainPop->addSeparator();
    About1 = MainPop->addAction(QStringLiteral("&About"));
    MainPop->addSeparator();
    Exit1 = MainPop->addAction(QStringLiteral("E&xit"));

    TrayPop = new QMenu(this);
    ReplayPop = TrayPop->addAction(QStringLiteral("Re&play"));
    TrayPop->addSeparator();
    About2 = TrayPop->addAction(QStringLiteral("&About"));
    TrayPop->addSeparator();
    RestorePop = TrayPop->addAction(QStringLiteral("&Restore"));
    Quit1 = TrayPop->addAction(QStringLiteral("&Quit"));
}

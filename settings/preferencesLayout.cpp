// Places the preferences dialog's controls on its two pages, in the order of its layout.
#include "settings/preferences.h"

#include "toolkit/Controls.h"

void TPrefsFrm::CreateControls() {
    SetScreenCentered(true);
    OKBtn = NewButton(this, "&OK", 74, 272, 75, 25);
    OKBtn->setDefault(true);
    CancelBtn = NewButton(this, "&Cancel", 157, 272, 75, 25);
    PageControl1 = new QTabWidget(this);
    PageControl1->setGeometry(1, 2, 304, 263);
    TabSheet1 = new QWidget;
    TabSheet2 = new QWidget;
    PageControl1->addTab(TabSheet1, QStringLiteral("Files location"));
    PageControl1->addTab(TabSheet2, QStringLiteral("Customize"));

    GroupBox1 = NewGroupBox(TabSheet1, " MP3 Player ", 2, 1, 291, 47);
    PlayerNameEdt = NewEdit(GroupBox1, 7, 16, 217, 21);
    BrowsePlayBtn = NewButton(GroupBox1, "Browse...", 228, 16, 55, 21);
    GroupBox2 =
        NewGroupBox(TabSheet1, " MP3 Files (Root \"descript.ion\" files) ", 2, 51, 291, 127);
    MP3PathLst = new TPathListView(GroupBox2);
    MP3PathLst->setGeometry(6, 16, 219, 101);
    BrowseMP3Btn = NewButton(GroupBox2, "Browse...", 228, 17, 55, 21);
    InsertBtn = NewButton(GroupBox2, "Insert", 228, 71, 55, 21);
    DeleteBtn = NewButton(GroupBox2, "Delete", 228, 95, 55, 21);
    // Between Browse and Insert: a folder of MP3 files described into a root of its own.
    AddMusicBtn = NewButton(GroupBox2, "Add...", 228, 44, 55, 21);
    AddMusicBtn->setToolTip(
        QStringLiteral("Pick a folder of MP3 files: it is described and its root added here"));
    MP3PathLst->SetEmptyHint("No roots yet. Click \"Add...\" to pick a folder of MP3 files; it is "
                             "described and added here.");
    GroupBox3 = NewGroupBox(TabSheet1, " Search Base ", 2, 182, 291, 49);
    SearchBaseEdt = NewEdit(GroupBox3, 7, 16, 217, 21);
    BrowseSearchBtn = NewButton(GroupBox3, "Browse...", 228, 16, 55, 21);

    GroupBox4 = NewGroupBox(TabSheet2, " Visual settings ", 2, 1, 291, 64);
    TrayMinChk = NewCheckBox(GroupBox4, "Minimize (as trayicon) when playing", 10, 18, 273, 17);
    SortAlbumsChk = NewCheckBox(GroupBox4, "Sort album tree content", 10, 37, 177, 17);
    GroupBox5 = NewGroupBox(TabSheet2, " Retrieving album tree settings ", 2, 70, 291, 46);
    RefreshChk = NewCheckBox(GroupBox5, "Refresh album tree after changing the preferences", 10, 19,
                             263, 17);
    GroupBox6 = NewGroupBox(TabSheet2, " Album time display format ", 2, 121, 291, 66);
    HourRdb = NewRadioButton(GroupBox6, "hh:mm:ss", 59, 17, 68, 17);
    MinRdb = NewRadioButton(GroupBox6, "mm:ss", 159, 17, 53, 17);
    // The minutes box sits inside the sentence "hh:mm:ss if more than [79] minutes": its end is
    // a label of its own after the box, so no scale of the font can push it under the box.
    MixRdb = NewRadioButton(GroupBox6, "hh:mm:ss if more than", 38, 38, 123, 17);
    MixValEdt = NewEdit(GroupBox6, 163, 36, 28, 21);
    MixUnitLbl = NewCaptionLabel(GroupBox6, MixRdb, "minutes", 195, 38, 60, 17);
    MixUnitLbl->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);

    // Names for screen readers where no caption of the control's own says what it is.
    PlayerNameEdt->setAccessibleName(QStringLiteral("MP3 player"));
    BrowsePlayBtn->setAccessibleName(QStringLiteral("Browse for the MP3 player"));
    MP3PathLst->setAccessibleName(QStringLiteral("Root descript.ion files"));
    BrowseMP3Btn->setAccessibleName(QStringLiteral("Browse for a root descript.ion file"));
    AddMusicBtn->setAccessibleName(QString::fromUtf8("Add MP3 folder\u2026"));
    SearchBaseEdt->setAccessibleName(QStringLiteral("Search base"));
    BrowseSearchBtn->setAccessibleName(QStringLiteral("Browse for the search base"));
    MixValEdt->setAccessibleName(QStringLiteral("Minutes above which hours are shown"));
    // The button is named by the whole sentence, with the threshold as it stands in the box.
    const auto nameMixRdb = [this] {
        MixRdb->setAccessibleName(
            QStringLiteral("hh:mm:ss if more than %1 minutes").arg(MixValEdt->text()));
    };
    nameMixRdb();
    QObject::connect(MixValEdt, &QLineEdit::textChanged, MixRdb, nameMixRdb);
}

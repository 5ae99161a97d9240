// The "Preferences" dialog. Its creation loads every stored setting; from then on its
// controls are the program's live settings, which the main window writes back at close.
#pragma once

#include "describing/DescribeJob.h"
#include "toolkit/Edit.h"
#include "toolkit/Form.h"
#include "toolkit/ListView.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>

#include <optional>
#include <string>
#include <vector>

// The entry that "Insert" adds to the path list.
inline const char* const NewPathItemText = "New Item (Click Browse to assign path)";

// The path list: its entries stay sorted by the system's text order, and editing one re-sorts.
class TPathListView : public TListView {
    Q_OBJECT
public:
    explicit TPathListView(QWidget* parent);
    void AddSorted(const std::string& text);
    void SetCaptionSorted(int row, const std::string& text);
    // The text the empty list shows (and a screen reader hears as its description).
    void SetEmptyHint(const std::string& text);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void Sort();
    QString FEmptyHint;
};

class TPrefsFrm : public TForm {
    Q_OBJECT
public:
    explicit TPrefsFrm(QWidget* owner);

    QPushButton* OKBtn;
    QPushButton* CancelBtn;
    QTabWidget* PageControl1;
    QWidget* TabSheet1;
    QWidget* TabSheet2;
    QGroupBox* GroupBox1;
    TEdit* PlayerNameEdt;
    QPushButton* BrowsePlayBtn;
    QGroupBox* GroupBox2;
    TPathListView* MP3PathLst;
    QPushButton* BrowseMP3Btn;
    QPushButton* InsertBtn;
    QPushButton* DeleteBtn;
    QPushButton* AddMusicBtn;
    QGroupBox* GroupBox3;
    TEdit* SearchBaseEdt;
    QPushButton* BrowseSearchBtn;
    QGroupBox* GroupBox4;
    QCheckBox* TrayMinChk;
    QCheckBox* SortAlbumsChk;
    QGroupBox* GroupBox5;
    QCheckBox* RefreshChk;
    QGroupBox* GroupBox6;
    QRadioButton* HourRdb;
    QRadioButton* MinRdb;
    QRadioButton* MixRdb;
    TEdit* MixValEdt;
    QLabel* MixUnitLbl;

    // The snapshot taken when the dialog is shown and put back by Cancel.
    std::string SavedPlayerName;
    std::string SavedSearchBase;
    bool SavedTrayMin = false;
    bool SavedSortAlbums = false;
    bool SavedRefresh = false;
    std::optional<std::vector<std::string>> SavedPaths;
    int SavedTimeFormat = 0;
    int SavedMixVal = 0;
    // The threshold's text when it was not a whole number when shown; Cancel puts it back.
    std::optional<std::string> SavedMixValText;

    // How many of the stored roots were loaded at start, and whether that was all of them.
    int StoredRootsLoaded = 0;
    bool AllStoredRootsLoaded = false;

    void FormCreate();
    void FormFirstActivate() override;
    void OKBtnClick();
    void CancelBtnClick();
    void InsertBtnClick();
    void DeleteBtnClick();
    void BrowsePlayBtnClick();
    void BrowseMP3BtnClick();
    void BrowseSearchBtnClick();
    void AddMusicBtnClick();

    // The music folders added from the program, each with the catalogue of its own that
    // describes it, in the order they were added.
    std::vector<Catalogue::TMusicFolder> MusicFolders;
    // Records a music folder described to its end and adds its catalogue's root to the path
    // list unless it is there already; the root also joins the snapshot that Cancel puts back,
    // since the catalogue is there whatever the dialog's end.
    void AddDescribedFolder(const Catalogue::TMusicFolder& folder);
    // The music folders whose roots the user removed since the dialog was shown are forgotten,
    // and for each the deletion of the catalogue the program made is offered, never done
    // silently; the music folder itself is never touched.
    void ForgetRemovedFolders();

    // The roots the close stores: the list's entries, and the stored roots that the loading
    // at start did not reach.
    std::vector<std::string> RootsToStore() const;

private:
    void CreateControls();
    void ConnectHandlers();
    void LoadSettings();
    void LoadRoots();
    void LoadMusicFolders();
    void LookUpPlayer();
    void SelectTimeFormat(int format);
};

extern TPrefsFrm* PrefsFrm;

// The welcome text shown on the first run.
std::string WelcomeText();

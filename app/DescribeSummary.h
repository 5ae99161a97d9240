// The window shown when a describing of MP3 folders has ended: the songs and albums described
// and the problems met, with a list of the details that the user can select and copy.
#pragma once

#include "describing/DescribeJob.h"
#include "toolkit/Form.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

class TDescribeSummaryFrm : public TForm {
    Q_OBJECT
public:
    TDescribeSummaryFrm(QWidget* owner, const Catalogue::TDescribeOutcome& outcome);

    QLabel* SummaryLbl;
    QPlainTextEdit* DetailsLst;
    QPushButton* CopyBtn;
    QPushButton* OKBtn;

    void CopyBtnClick();

    // The window's caption and its summary, lines separated by a line feed.
    static std::string CaptionOf(const Catalogue::TDescribeOutcome& outcome);
    static std::string SummaryText(const Catalogue::TDescribeOutcome& outcome);
};

#include "app/DescribeSummary.h"

#include "toolkit/Bind.h"
#include "toolkit/Controls.h"
#include "toolkit/Text.h"

#include <QApplication>
#include <QClipboard>

std::string TDescribeSummaryFrm::CaptionOf(const Catalogue::TDescribeOutcome& outcome) {
    return outcome.Stopped ? "Describing stopped" : "MP3 folders described";
}

std::string TDescribeSummaryFrm::SummaryText(const Catalogue::TDescribeOutcome& outcome) {
    std::string text = outcome.Stopped
                           ? "Stopped before the end. The next run goes on from there.\n"
                           : std::string();
    text += "Songs described: " + std::to_string(outcome.Songs) + " (" +
            std::to_string(outcome.SongsRead) + " read from their files)\n";
    text += "Albums described: " + std::to_string(outcome.Albums) + "\n";
    text += "Problems: " + std::to_string(outcome.Details.size());
    return text;
}

TDescribeSummaryFrm::TDescribeSummaryFrm(QWidget* owner, const Catalogue::TDescribeOutcome& outcome)
    : TForm(owner, CaptionOf(outcome), 420, 250) {
    SetScreenCentered(true);
    SummaryLbl = new QLabel(ToQString(SummaryText(outcome)), this);
    SummaryLbl->setGeometry(10, 8, 400, 64);
    SummaryLbl->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    SummaryLbl->setTextFormat(Qt::PlainText);
    DetailsLst = new QPlainTextEdit(this);
    DetailsLst->setGeometry(10, 76, 400, 130);
    DetailsLst->setReadOnly(true);
    DetailsLst->setLineWrapMode(QPlainTextEdit::NoWrap);
    DetailsLst->setAccessibleName(QStringLiteral("Problems"));
    std::string details;
    for (const auto& line : outcome.Details)
        details += (details.empty() ? "" : "\n") + line;
    DetailsLst->setPlainText(ToQString(details));
    CopyBtn = NewButton(this, "&Copy details", 10, 216, 95, 25);
    CopyBtn->setEnabled(!outcome.Details.empty());
    OKBtn = NewButton(this, "&OK", 335, 216, 75, 25);
    OKBtn->setDefault(true);
    Bind(CopyBtn, &QPushButton::clicked, this, [this] { CopyBtnClick(); });
    Bind(OKBtn, &QPushButton::clicked, this, [this] { SetModalResult(mrOk); });
}

void TDescribeSummaryFrm::CopyBtnClick() {
    QApplication::clipboard()->setText(DetailsLst->toPlainText());
}

#include "toolkit/Edit.h"

#include "toolkit/Text.h"

TEdit::TEdit(QWidget* parent) : QLineEdit(parent) {}

std::string TEdit::Text() const {
    // As long as the box shows what the program put there, that is what it holds.
    const QString shown = text();
    return shown == FShown ? FBytes : FromQString(shown);
}

void TEdit::SetText(const std::string& text) {
    FBytes = text;
    FShown = ToQString(text);
    setText(FShown);
}

// A one-line edit box that keeps the program's own bytes: a text set by the program comes
// back byte for byte until the user changes it, even when the bytes are not valid in the
// user's locale (a Windows-1252 path on a UTF-8 desktop).
#pragma once

#include <QLineEdit>

#include <string>

class TEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit TEdit(QWidget* parent);

    std::string Text() const;
    void SetText(const std::string& text);

private:
    std::string FBytes;
    QString FShown;
};

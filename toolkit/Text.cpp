#include "toolkit/Text.h"

#include <QStringDecoder>

QString ToQString(const std::string& bytes) {
    QStringDecoder decoder(QStringDecoder::System, QStringDecoder::Flag::Stateless);
    QString text =
        decoder.decode(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
    if (decoder.hasError())
        return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
    return text;
}

std::string FromQString(const QString& text) {
    return text.toLocal8Bit().toStdString();
}

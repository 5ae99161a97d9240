#include "toolkit/Text.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace {

QByteArrayView View(const std::string& bytes, std::size_t size) {
    return QByteArrayView(bytes.data(), static_cast<qsizetype>(size));
}

std::string Bytes(const QByteArray& bytes) {
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

#ifdef Q_OS_WIN
// The ANSI code page: the one the Windows interfaces and older Windows editors write.
QString FromSingleByte(const std::string& bytes) {
    return QString::fromLocal8Bit(View(bytes, bytes.size()));
}
#else
constexpr const char* SingleByteCodePage = "windows-1252";

QString FromSingleByte(const std::string& bytes) {
    QStringDecoder decoder(SingleByteCodePage, QStringDecoder::Flag::Stateless);
    if (!decoder.isValid())
        return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
    return decoder.decode(View(bytes, bytes.size()));
}

// The text as Windows-1252 writes it; nothing when a character has no place there.
std::optional<std::string> ToWindows1252(const QString& text) {
    QStringEncoder encoder(SingleByteCodePage, QStringEncoder::Flag::Stateless);
    if (!encoder.isValid()) {
        for (const QChar c : text)
            if (c.unicode() > 0xFF)
                return std::nullopt;
        return text.toLatin1().toStdString();
    }
    const QByteArray bytes = encoder.encode(text);
    if (encoder.hasError())
        return std::nullopt;
    return Bytes(bytes);
}
#endif

} // namespace

QString ToQString(const std::string& bytes) {
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = decoder.decode(View(bytes, bytes.size()));
    if (!decoder.hasError())
        return text;
    return FromSingleByte(bytes);
}

std::string FromQString(const QString& text) {
    return Bytes(text.toLocal8Bit());
}

std::string OtherSpelling(const QString& text) {
#ifdef Q_OS_WIN
    const std::optional<std::string> other = Bytes(text.toUtf8());
#else
    const std::optional<std::string> other = ToWindows1252(text);
#endif
    return other && *other != FromQString(text) ? *other : std::string();
}

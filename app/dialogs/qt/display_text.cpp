#include "dialogs/qt/display_text.hpp"

#include <QByteArray>
#include <QStringDecoder>

namespace zelo::dialogs {

QString DisplayText(std::string_view bytes) {
    const auto size = static_cast<qsizetype>(bytes.size());
    // Stateless: a sequence cut at the end is an error too, not kept for later.
    QStringDecoder decoder(QStringConverter::System, QStringConverter::Flag::Stateless);
    QString text = decoder.decode(QByteArrayView(bytes.data(), size));
    if (!decoder.hasError()) return text;
    return QString::fromLatin1(bytes.data(), size);
}

std::string StoredText(const QString& text) { return text.toLocal8Bit().toStdString(); }

}  // namespace zelo::dialogs

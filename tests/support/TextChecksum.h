#pragma once

#include <QByteArrayView>
#include <QCryptographicHash>

#include <string>
#include <string_view>
#include <vector>

// SHA-256 in lower-case hexadecimal of the texts in the given order, each followed by a line
// feed. Tests keep the checksum of a fixed table so that any changed character shows.
inline std::string Sha256OfLines(const std::vector<std::string_view>& texts) {
    QCryptographicHash hash(QCryptographicHash::Sha256);
    for (const std::string_view text : texts) {
        hash.addData(QByteArrayView(text.data(), static_cast<qsizetype>(text.size())));
        hash.addData(QByteArrayView("\n", 1));
    }
    return hash.result().toHex().toStdString();
}

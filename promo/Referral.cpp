#include "promo/Referral.h"

#include "links/modHelp.h"

namespace {

bool missing(const QString& value, const QString& placeholder) {
    return value.isEmpty() || value == placeholder;
}

QString encoded(const QString& value) {
    return QString::fromLatin1(QUrl::toPercentEncoding(value));
}

} // namespace

ReferralRecord ReferralFromBoxes(const QString& name, const QString& email, const QString& message,
                                 const QString& friendName, const QString& friendEmail) {
    return {name.trimmed(), email.trimmed(), message.trimmed(), friendName.trimmed(),
            friendEmail.trimmed()};
}

std::optional<QString> EmailFault(const ReferralRecord& record) {
    if (record.email == record.friendEmail) {
        return QStringLiteral("Please Enter Distinct Email Addresses");
    }
    const QString proper = QStringLiteral("Please Enter Proper Email Address");
    if (!record.email.contains(u'@') || !record.friendEmail.contains(u'@')) {
        return proper;
    }
    if (!record.email.contains(u'.') || !record.friendEmail.contains(u'.')) {
        return proper;
    }
    return std::nullopt;
}

std::optional<QString> MissingFieldFault(const ReferralRecord& record) {
    if (missing(record.name, referral::namePlaceholder)) {
        return QStringLiteral("Please Enter Your Name");
    }
    if (missing(record.email, referral::emailPlaceholder)) {
        return QStringLiteral("Please Enter Your Email");
    }
    if (missing(record.message, referral::messagePlaceholder)) {
        return QStringLiteral("Please Enter Your Message");
    }
    if (missing(record.friendName, referral::friendNamePlaceholder)) {
        return QStringLiteral("Please Enter Your Friend's Name");
    }
    if (missing(record.friendEmail, referral::friendEmailPlaceholder)) {
        return QStringLiteral("Please Enter Your Friend's Email");
    }
    return std::nullopt;
}

std::optional<QString> ReferralFault(const ReferralRecord& record) {
    if (auto fault = EmailFault(record)) {
        return fault;
    }
    return MissingFieldFault(record);
}

QString ReferralAddressText(const ReferralRecord& record) {
    // The product site root is a value like the others and is encoded the same way, so the
    // referral page decodes all six alike.
    return WebPageUrl(WebPage::ReferAFriend).toString(QUrl::FullyEncoded) +
           QStringLiteral("?taf1=") + encoded(record.name) + QStringLiteral("&taf2=") +
           encoded(record.email) + QStringLiteral("&taf3=") + encoded(record.message) +
           QStringLiteral("&taf4=") + encoded(record.friendName) + QStringLiteral("&taf5=") +
           encoded(record.friendEmail) + QStringLiteral("&taf6=") + encoded(ProductSiteRoot());
}

QUrl ReferralAddress(const ReferralRecord& record) {
    // Every byte outside the unreserved set is already escaped, so strict parsing keeps the
    // address exactly as built.
    return QUrl(ReferralAddressText(record), QUrl::StrictMode);
}

int SupportMessageIndex(double r) {
    return static_cast<int>(4.0 * r);
}

QString SupportMessage(int k) {
    const QString site = MakerSiteText();
    switch (k) {
    case 0:
        return QStringLiteral("Thank you for using Korvani. Please visit our web community at %1 "
                              "regularly and join in its discussions: your visits keep free "
                              "programs like this one alive.")
            .arg(site);
    case 1:
        return QStringLiteral("Korvani is made by Qorvex and kept up to date thanks to our "
                              "community. Drop in at %1 often and share your thoughts in the "
                              "forums, so that we can keep maintaining programs like this one.")
            .arg(site);
    case 2:
        return QStringLiteral("Enjoyed your decanates? Help Qorvex keep Korvani going: make %1 "
                              "a regular stop and take part in the discussions of our astrology "
                              "community.")
            .arg(site);
    default:
        return QStringLiteral("Our programs live on because people like you take part. Visit the "
                              "Qorvex community at %1 regularly and join the discussions, and we "
                              "will keep improving programs like this one.")
            .arg(site);
    }
}

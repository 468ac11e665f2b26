#pragma once

#include <QString>
#include <QUrl>

#include <optional>

// The refer-a-friend form as it is submitted: the five boxes, each without leading and trailing
// blanks.
struct ReferralRecord {
    QString name;
    QString email;
    QString message;
    QString friendName;
    QString friendEmail;
};

// The texts the five boxes show until the user types; each is also the label of its box.
namespace referral {
inline const QString namePlaceholder = QStringLiteral("Your Name");
inline const QString emailPlaceholder = QStringLiteral("Your Email Address");
inline const QString messagePlaceholder = QStringLiteral("Your Message");
inline const QString friendNamePlaceholder = QStringLiteral("Friend's Name");
inline const QString friendEmailPlaceholder = QStringLiteral("Friend's Email Address");
} // namespace referral

// The message shown when a blank is typed, pasted or dropped into an e-mail box.
inline const QString emailBlankMessage = QStringLiteral("Email Address Cannot Contain Space");

// The record as read from the five boxes: each text with leading and trailing blanks removed.
ReferralRecord ReferralFromBoxes(const QString& name, const QString& email, const QString& message,
                                 const QString& friendName, const QString& friendEmail);

// The e-mail checks of the submit button, in order: distinct addresses, an "@" in both, a "."
// in both. Returns the first fault's message, or nothing.
std::optional<QString> EmailFault(const ReferralRecord& record);

// The missing-field checks before the referral is sent, in form order. A field is missing when
// it is empty or still holds its placeholder. Returns the first fault's message, or nothing.
std::optional<QString> MissingFieldFault(const ReferralRecord& record);

// Every check of a submission in the order the user meets them: EmailFault, then
// MissingFieldFault.
std::optional<QString> ReferralFault(const ReferralRecord& record);

// The referral page's address carrying the form: taf1..taf5 are the five fields and taf6 the
// product site root. Every value is percent-encoded as UTF-8 (unreserved characters stay), so
// "&", "?", "#", "=", "+" and blanks in a field arrive as the user typed them.
QString ReferralAddressText(const ReferralRecord& record);
QUrl ReferralAddress(const ReferralRecord& record);

// Support message k (0 to 3) of the exit window, and the message index for a draw r in [0, 1).
int SupportMessageIndex(double r);
QString SupportMessage(int k);

#include "promo/Referral.h"
#include "links/modHelp.h"

#include <QUrlQuery>

#include <gtest/gtest.h>

#include <optional>
#include <ostream>
#include <set>

// Readable QString values in failure messages.
inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}

namespace {

ReferralRecord filled() {
    return {"Asha Rao", "asha@mail.example", "Have a look", "Ravi Menon", "ravi@post.example"};
}

struct FaultCase {
    const char* name;
    ReferralRecord record;
    std::optional<QString> fault;
};

void PrintTo(const FaultCase& c, std::ostream* os) {
    *os << c.name;
}

class ReferralFaults : public ::testing::TestWithParam<FaultCase> {};

TEST_P(ReferralFaults, firstFaultInOrder) {
    const FaultCase& c = GetParam();
    EXPECT_EQ(ReferralFault(c.record), c.fault) << "case " << c.name;
}

ReferralRecord with(ReferralRecord record, QString ReferralRecord::*field, const QString& value) {
    record.*field = value;
    return record;
}

const QString distinct = "Please Enter Distinct Email Addresses";
const QString proper = "Please Enter Proper Email Address";

INSTANTIATE_TEST_SUITE_P(
    Submit, ReferralFaults,
    ::testing::Values(
        // The untouched form: the two placeholders differ and neither has an "@".
        FaultCase{"untouchedForm",
                  {"Your Name", "Your Email Address", "Your Message", "Friend's Name",
                   "Friend's Email Address"},
                  proper},
        // Equal addresses are reported before anything else, even before a missing "@".
        FaultCase{"sameAddressBothBoxes",
                  with(filled(), &ReferralRecord::friendEmail, "asha@mail.example"), distinct},
        FaultCase{"sameTextWithoutAt", {"", "nothing", "", "", "nothing"}, distinct},
        FaultCase{"bothEmpty", {"", "", "", "", ""}, distinct},
        FaultCase{"ownAddressWithoutAt",
                  with(filled(), &ReferralRecord::email, "asha.mail.example"), proper},
        FaultCase{"friendAddressWithoutAt",
                  with(filled(), &ReferralRecord::friendEmail, "ravi.post.example"), proper},
        FaultCase{"ownAddressWithoutDot", with(filled(), &ReferralRecord::email, "asha@mail"),
                  proper},
        FaultCase{"friendAddressWithoutDot",
                  with(filled(), &ReferralRecord::friendEmail, "ravi@post"), proper},
        FaultCase{"namePlaceholder", with(filled(), &ReferralRecord::name, "Your Name"),
                  "Please Enter Your Name"},
        FaultCase{"nameEmpty", with(filled(), &ReferralRecord::name, ""), "Please Enter Your Name"},
        FaultCase{"messagePlaceholder", with(filled(), &ReferralRecord::message, "Your Message"),
                  "Please Enter Your Message"},
        FaultCase{"messageEmpty", with(filled(), &ReferralRecord::message, ""),
                  "Please Enter Your Message"},
        FaultCase{"friendNamePlaceholder",
                  with(filled(), &ReferralRecord::friendName, "Friend's Name"),
                  "Please Enter Your Friend's Name"},
        FaultCase{"friendNameEmpty", with(filled(), &ReferralRecord::friendName, ""),
                  "Please Enter Your Friend's Name"},
        // Name and message both missing: the name comes first.
        FaultCase{"nameBeforeMessage",
                  with(with(filled(), &ReferralRecord::name, ""), &ReferralRecord::message, ""),
                  "Please Enter Your Name"},
        // A placeholder with other text around it is the user's own text.
        FaultCase{"placeholderWithMore", with(filled(), &ReferralRecord::name, "Your Name is Asha"),
                  std::nullopt},
        FaultCase{"complete", filled(), std::nullopt}),
    [](const ::testing::TestParamInfo<FaultCase>& info) { return std::string(info.param.name); });

// The e-mail checks cannot let a placeholder address through, so the two e-mail missing-field
// checks are only reachable through MissingFieldFault on its own.
TEST(MissingField, emailPlaceholdersAreMissing) {
    EXPECT_EQ(MissingFieldFault(with(filled(), &ReferralRecord::email, "Your Email Address")),
              QString("Please Enter Your Email"));
    EXPECT_EQ(MissingFieldFault(with(filled(), &ReferralRecord::email, "")),
              QString("Please Enter Your Email"));
    EXPECT_EQ(
        MissingFieldFault(with(filled(), &ReferralRecord::friendEmail, "Friend's Email Address")),
        QString("Please Enter Your Friend's Email"));
    EXPECT_EQ(MissingFieldFault(with(filled(), &ReferralRecord::friendEmail, "")),
              QString("Please Enter Your Friend's Email"));
}

TEST(ReferralRecordFromBoxes, trimsBlanksAroundEachBox) {
    const ReferralRecord r =
        ReferralFromBoxes("  Asha ", "\tasha@mail.example ", " two\nlines \n", " Ravi", "x@y.z  ");
    EXPECT_EQ(r.name, "Asha");
    EXPECT_EQ(r.email, "asha@mail.example");
    EXPECT_EQ(r.message, "two\nlines");
    EXPECT_EQ(r.friendName, "Ravi");
    EXPECT_EQ(r.friendEmail, "x@y.z");
}

TEST(ReferralAddress, filledFormCharacterForCharacter) {
    const QString expected =
        WebPageUrl(WebPage::ReferAFriend).toString() +
        "?taf1=Asha%20Rao&taf2=asha%40mail.example&taf3=Have%20a%20look&taf4=Ravi%20Menon"
        "&taf5=ravi%40post.example&taf6=" +
        QString::fromLatin1(QUrl::toPercentEncoding(ProductSiteRoot()));
    EXPECT_EQ(ReferralAddressText(filled()), expected);
    EXPECT_EQ(ReferralAddress(filled()).toString(QUrl::FullyEncoded), expected);
    EXPECT_TRUE(
        WebPageUrl(WebPage::ReferAFriend).toString().endsWith("/qorvex-refer-a-friend.php"));
}

TEST(ReferralAddress, productRootIsEncodedLikeTheOtherValues) {
    ASSERT_TRUE(ProductSiteRoot().endsWith('/'));
    const QString text = ReferralAddressText(filled());
    const QString taf6 = text.mid(text.indexOf("&taf6=") + 6);
    EXPECT_FALSE(taf6.contains('/')) << taf6.toStdString();
    EXPECT_FALSE(taf6.contains(':')) << taf6.toStdString();
    EXPECT_EQ(QUrl::fromPercentEncoding(taf6.toLatin1()), ProductSiteRoot());
}

struct ValueCase {
    const char* name;
    QString value;
};

void PrintTo(const ValueCase& c, std::ostream* os) {
    *os << c.name;
}

class ReferralValues : public ::testing::TestWithParam<ValueCase> {};

// Whatever the user types arrives at the referral page as typed, in every one of the five
// fields, and the address keeps exactly its six keys.
TEST_P(ReferralValues, arriveWhole) {
    const ValueCase& c = GetParam();
    for (QString ReferralRecord::*field :
         {&ReferralRecord::name, &ReferralRecord::email, &ReferralRecord::message,
          &ReferralRecord::friendName, &ReferralRecord::friendEmail}) {
        const ReferralRecord record = with(filled(), field, c.value);
        const QUrl url = ReferralAddress(record);
        ASSERT_TRUE(url.isValid()) << "case " << c.name << ": " << url.errorString().toStdString();
        EXPECT_EQ(url.toString(QUrl::FullyEncoded), ReferralAddressText(record))
            << "case " << c.name;
        EXPECT_TRUE(url.fragment().isEmpty()) << "case " << c.name;
        const QUrlQuery query(url);
        const auto items = query.queryItems(QUrl::FullyDecoded);
        ASSERT_EQ(items.size(), 6) << "case " << c.name;
        const QStringList expected{record.name,       record.email,       record.message,
                                   record.friendName, record.friendEmail, ProductSiteRoot()};
        for (int i = 0; i < 6; ++i) {
            EXPECT_EQ(items[i].first, QString("taf%1").arg(i + 1)) << "case " << c.name;
            EXPECT_EQ(items[i].second, expected[i]) << "case " << c.name << " taf" << i + 1;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Encoding, ReferralValues,
    ::testing::Values(ValueCase{"ampersandQuestionHash", "Tom & Jerry? #1 = best"},
                      ValueCase{"plusAndPercent", "100% + 5%20 more"},
                      ValueCase{"lineBreaks", "first line\nsecond line"},
                      ValueCase{"nonAscii", QString::fromUtf8("Zoë in Köln – ☉ ♈")},
                      ValueCase{"keyLookalike", "x&taf6=https://evil.example/"},
                      ValueCase{"reservedCharacters", "a/b:c;d,e@f$g!h'i(j)k*l[m]n"}),
    [](const ::testing::TestParamInfo<ValueCase>& info) { return std::string(info.param.name); });

TEST(ReferralAddress, nonAsciiIsUtf8) {
    const QString text =
        ReferralAddressText(with(filled(), &ReferralRecord::message, QString::fromUtf8("Zoë")));
    EXPECT_TRUE(text.contains("&taf3=Zo%C3%AB&")) << text.toStdString();
}

TEST(SupportMessage, indexFromDraw) {
    EXPECT_EQ(SupportMessageIndex(0.0), 0);
    EXPECT_EQ(SupportMessageIndex(0.2499999), 0);
    EXPECT_EQ(SupportMessageIndex(0.25), 1);
    EXPECT_EQ(SupportMessageIndex(0.5), 2);
    EXPECT_EQ(SupportMessageIndex(0.75), 3);
    EXPECT_EQ(SupportMessageIndex(0.9999999999), 3);
}

TEST(SupportMessage, fourDistinctMessagesNamingTheCommunitySite) {
    std::set<QString> seen;
    for (int k = 0; k < 4; ++k) {
        EXPECT_TRUE(SupportMessage(k).contains(MakerSiteText())) << "message " << k;
        seen.insert(SupportMessage(k));
    }
    EXPECT_EQ(seen.size(), 4u);
}

} // namespace

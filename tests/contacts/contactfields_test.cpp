// How ticked contacts become lines of text.

#include "contacts/contactfields.h"

#include <QHash>

#include <gtest/gtest.h>

namespace {

using Contact = QHash<QString, QString>;

quint32 Bits(std::initializer_list<int> bits)
{
    quint32 set = 0;
    for (int bit : bits)
        set |= 1u << bit;
    return set;
}

QString Build(quint32 props, const QList<Contact>& contacts)
{
    ContactTextBuilder builder(props);
    for (const Contact& contact : contacts)
        builder.AppendContactLine([&](int bit) { return contact.value(ContactFieldNames()[bit].trimmed()); });
    return builder.Result();
}

const Contact kSmith = {{"Last Name", "Smith"}, {"First Name", "John"}, {"Middle Name", "Q"}, {"Title", "Mr"},
                        {"Suffix", "Jr"},       {"Company", "Acme"},    {"Job Title", "Clerk"}, {"Department", "Sales"},
                        {"Work Tel", "555 0100"}, {"Home Fax", "555 0199"}, {"Car Tel", "555 0142"},
                        {"Office Loc", "Room 12"}};

} // namespace

TEST(ContactText, TheTableHasThirtyOneRowsInBitOrder)
{
    ASSERT_EQ(ContactFieldNames().size(), 31);
    EXPECT_EQ(ContactFieldNames()[2], QStringLiteral("Middle Name ")); // with its trailing blank
    EXPECT_EQ(ContactFieldNames()[18], QStringLiteral("Home Fax"));
    EXPECT_EQ(ContactFieldNames()[30], QStringLiteral("Notes"));
    const QList<int>& order = ContactFieldOrder();
    ASSERT_EQ(order.size(), 31);
    EXPECT_EQ(order.indexOf(18), 24); // after 19 to 24
    EXPECT_EQ(order.indexOf(25), 25);
}

TEST(ContactText, TheChosenPropertiesMakeOneLinePerContact)
{
    EXPECT_EQ(Build(Bits({0, 1, 7, 11}), {kSmith}), QStringLiteral("Smith, John, Acme, Work Tel: 555 0100\r\n"));
    // Names: blanks between middle name, suffix and title; ", " after the last name.
    EXPECT_EQ(Build(Bits({0, 1, 2, 3, 4}), {kSmith}), QStringLiteral("Smith, John Q Jr Mr\r\n"));
    // Nothing chosen: an empty line per ticked contact.
    EXPECT_EQ(Build(0, {kSmith, kSmith}), QStringLiteral("\r\n\r\n"));
}

TEST(ContactText, EmptyValuesAddNothingAndLinesStartWithoutASeparator)
{
    const Contact onlyFirst = {{"First Name", "Ann"}};
    EXPECT_EQ(Build(Bits({0, 1, 11}), {onlyFirst, kSmith}), QStringLiteral("Ann\r\nSmith, John, Work Tel: 555 0100\r\n"));
    EXPECT_EQ(Build(Bits({5}), {onlyFirst, kSmith}), QStringLiteral("\r\nJob Title: Clerk\r\n"));
}

TEST(ContactText, HomeFaxComesBareAndAfterTheOfficeLocation)
{
    EXPECT_EQ(Build(Bits({18}), {kSmith}), QStringLiteral("555 0199\r\n"));
    EXPECT_EQ(Build(Bits({19, 18, 24}), {kSmith}), QStringLiteral("Car Tel: 555 0142, Room 12, 555 0199\r\n"));
}

TEST(ContactText, TheListShowsNamesCompanyJobAndDepartment)
{
    const auto smith = [](const QString& label) { return kSmith.value(label); };
    EXPECT_EQ(ContactTextBuilder::DisplayText(smith), QStringLiteral("Smith, John Q Mr Jr, Acme, Clerk, Sales"));
    const auto nobody = [](const QString&) { return QString(); };
    EXPECT_EQ(ContactTextBuilder::DisplayText(nobody), QString());
    const auto company = [](const QString& label) { return label == QLatin1String("Company") ? QStringLiteral("Acme") : QString(); };
    EXPECT_EQ(ContactTextBuilder::DisplayText(company), QStringLiteral("Acme"));
}

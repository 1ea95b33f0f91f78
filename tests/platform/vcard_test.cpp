#include "platform/vcard.h"

#include "platform/contactsstore.h"
#include "testsupport.h"

#include <gtest/gtest.h>

#include <random>

namespace {

QString str(const char* text)
{
    return QString::fromUtf8(text);
}

QStringList strs(std::initializer_list<const char*> texts)
{
    QStringList list;
    for (const char* text : texts)
        list.append(str(text));
    return list;
}

// Lines joined with CR LF, as address books are written.
QByteArray crlf(std::initializer_list<const char*> lines)
{
    QByteArray data;
    for (const char* line : lines)
        data.append(line).append("\r\n");
    return data;
}

QByteArray card(std::initializer_list<const char*> body)
{
    QByteArray data = "BEGIN:VCARD\r\n";
    for (const char* line : body)
        data.append(line).append("\r\n");
    return data.append("END:VCARD\r\n");
}

VCard only(const QByteArray& data)
{
    const QList<VCard> cards = ParseVCards(data);
    EXPECT_EQ(cards.size(), 1);
    return cards.value(0);
}

QHash<QString, QString> mapped(std::initializer_list<const char*> body)
{
    return MapContactProperties(only(card(body)));
}

} // namespace

TEST(VCardParse, Version21QuotedPrintableCharsetsAndBareParameters)
{
    const VCard c = only(crlf({
        "BEGIN:VCARD",
        "VERSION:2.1",
        "N;CHARSET=ISO-8859-1;ENCODING=QUOTED-PRINTABLE:M=FCller-Sch=F6n;J=FCrgen;;Dr.;",
        "ORG;CHARSET=windows-1252;QUOTED-PRINTABLE:Pike=99 =80 Partners;=93Ops=94",
        "TEL;WORK;FAX:+1-555-0101",
        "TEL;PREF;home;VOICE:+1-555-0102",
        // A soft break joins the next line even though it does not start with a blank;
        // the blank that does start the third line is text.
        "NOTE;ENCODING=QUOTED-PRINTABLE;CHARSET=UTF-8:Erste Zeile=0D=0Azweite Zeile mit =C3=",
        "=A9=",
        " und Ende",
        // No CHARSET and not UTF-8: written in the desktop's code page.
        "ADR;WORK;ENCODING=QUOTED-PRINTABLE:;;Hauptstra=DFe 5;Kleinstadt",
        "LABEL;CHARSET=X-UNKNOWN-9;ENCODING=QUOTED-PRINTABLE:Stra=DFe",
        "END:VCARD",
    }));
    ASSERT_EQ(c.properties.size(), 8);

    const VCardProperty* n = c.first(str("n"));
    ASSERT_TRUE(n);
    EXPECT_EQ(n->components, strs({"Müller-Schön", "Jürgen", "", "Dr.", ""}));
    EXPECT_EQ(n->parameters.value(str("CHARSET")), strs({"ISO-8859-1"}));

    const VCardProperty* org = c.first(str("ORG"));
    EXPECT_EQ(org->components, strs({"Pike™ € Partners", "“Ops”"}));
    // A bare encoding is the encoding, not a type.
    EXPECT_EQ(org->parameters.value(str("ENCODING")), strs({"QUOTED-PRINTABLE"}));
    EXPECT_FALSE(org->parameters.contains(str("TYPE")));

    const QList<const VCardProperty*> tels = c.all(str("TEL"));
    ASSERT_EQ(tels.size(), 2);
    EXPECT_EQ(tels[0]->parameters.value(str("TYPE")), strs({"WORK", "FAX"}));
    EXPECT_TRUE(tels[0]->hasType(str("fax")));
    EXPECT_FALSE(tels[0]->hasType(str("HOME")));
    EXPECT_EQ(tels[0]->preference(), 100);
    EXPECT_EQ(tels[1]->parameters.value(str("TYPE")), strs({"PREF", "HOME", "VOICE"}));
    EXPECT_EQ(tels[1]->preference(), 1);

    EXPECT_EQ(c.first(str("NOTE"))->value(), str("Erste Zeile\r\nzweite Zeile mit é und Ende"));
    EXPECT_EQ(c.first(str("ADR"))->components, strs({"", "", "Hauptstraße 5", "Kleinstadt"}));
    EXPECT_EQ(c.first(str("LABEL"))->value(), str("Straße"));
}

TEST(VCardParse, EveryCharsetQtKnowsIsDecoded)
{
    const VCard c = only(crlf({
        "BEGIN:VCARD",
        "VERSION:2.1",
        "N;CHARSET=windows-1251;ENCODING=QUOTED-PRINTABLE:=CF=E5=F2=F0=EE=E2;=C8=E2=E0=ED",
        "ORG;CHARSET=ISO-8859-2;ENCODING=QUOTED-PRINTABLE:=A3=F3d=BC",
        "TITLE;CHARSET=KOI8-R;ENCODING=QUOTED-PRINTABLE:=F0=D2=CF=C4=C1=D6=C9",
        "NOTE;CHARSET=Shift_JIS;ENCODING=QUOTED-PRINTABLE:=93=FA=96=7B",
        "END:VCARD",
    }));
    EXPECT_EQ(c.first(str("N"))->components, strs({"Петров", "Иван"}));
    EXPECT_EQ(c.first(str("ORG"))->value(), str("Łódź"));
    EXPECT_EQ(c.first(str("TITLE"))->value(), str("Продажи"));
    EXPECT_EQ(c.first(str("NOTE"))->value(), str("日本"));
}

TEST(VCardParse, Version30GroupsFoldingEscapesAndTypeLists)
{
    const QByteArray text = crlf({
        "begin:vcard",
        "version:3.0",
        "item1.TEL;type=WORK;type=voice,pref:+1-555-0110",
        "item1.X-Label:desk",
        "ORG:Lantern\\, Ladder & Co.;Research\\;Development;C:\\temp",
        "EMAIL;TYPE=\"internet,work\":s.ohara@example.com",
        "NOTE:First line\\nsecond\\, with comma\\\\and back\\Nslash",
        " folded tail",
        "\t with a kept blank",
        "FN:Siobhan O'Hara",
        "End:VCard",
    });
    // The same card whatever ends its lines.
    QByteArray lf = text;
    lf.replace("\r\n", "\n");
    QByteArray cr = text;
    cr.replace("\r\n", "\r");
    for (const QByteArray& data : {text, lf, cr}) {
        const VCard c = only(data);
        ASSERT_EQ(c.properties.size(), 7);

        const VCardProperty& tel = c.properties[1];
        EXPECT_EQ(tel.group, str("item1"));
        EXPECT_EQ(tel.name, str("TEL"));
        EXPECT_EQ(tel.parameters.value(str("TYPE")), strs({"WORK", "VOICE", "PREF"}));
        EXPECT_EQ(tel.preference(), 1);
        EXPECT_EQ(c.properties[2].group, str("item1"));
        EXPECT_EQ(c.properties[2].name, str("X-LABEL"));
        EXPECT_TRUE(c.properties[3].group.isEmpty());

        // A backslash that escapes nothing stays.
        EXPECT_EQ(c.first(str("ORG"))->components, strs({"Lantern, Ladder & Co.", "Research;Development", "C:\\temp"}));
        EXPECT_TRUE(c.first(str("EMAIL"))->hasType(str("WORK")));
        EXPECT_TRUE(c.first(str("EMAIL"))->hasType(str("Internet")));
        EXPECT_EQ(c.first(str("NOTE"))->components,
                  strs({"First line\nsecond, with comma\\and back\nslashfolded tail with a kept blank"}));
        EXPECT_EQ(c.first(str("FN"))->value(), str("Siobhan O'Hara"));
    }
}

TEST(VCardParse, Version40PreferenceRelatedAndQuotedParameters)
{
    const VCard c = only(crlf({
        "BEGIN:VCARD",
        "VERSION:4.0",
        "FN:Amara Okafor",
        "EMAIL;TYPE=home:amara@example.org",
        "EMAIL;PREF=1;TYPE=work:a.okafor@example.com",
        "EMAIL;PREF=7:third@example.org",
        "TEL;VALUE=uri;TYPE=\"voice,cell\":tel:+1-555-0123",
        "RELATED;TYPE=agent;VALUE=text:Tomasz Wiśniewski",
        "ADR;TYPE=work;LABEL=\"12 Quay Road\\nUnit 4: east; rear\":;;12 Quay Road;Port Vale;ON;K0A 1B0;Canada",
        "END:VCARD",
    }));
    const QList<const VCardProperty*> emails = c.all(str("EMAIL"));
    ASSERT_EQ(emails.size(), 3);
    EXPECT_EQ(emails[0]->preference(), 100);
    EXPECT_EQ(emails[1]->preference(), 1);
    EXPECT_EQ(emails[2]->preference(), 7);
    EXPECT_EQ(emails[1]->parameters.value(str("PREF")), strs({"1"}));

    const VCardProperty* tel = c.first(str("TEL"));
    EXPECT_TRUE(tel->hasType(str("CELL")));
    EXPECT_TRUE(tel->hasType(str("voice")));
    EXPECT_EQ(tel->parameters.value(str("VALUE")), strs({"uri"}));
    EXPECT_EQ(tel->value(), str("tel:+1-555-0123"));

    const VCardProperty* related = c.first(str("RELATED"));
    EXPECT_TRUE(related->hasType(str("AGENT")));
    EXPECT_EQ(related->value(), str("Tomasz Wiśniewski"));

    // ':' and ';' inside a quoted parameter value belong to it.
    const VCardProperty* adr = c.first(str("ADR"));
    EXPECT_EQ(adr->parameters.value(str("LABEL")), strs({"12 Quay Road\\nUnit 4: east; rear"}));
    EXPECT_EQ(adr->components, strs({"", "", "12 Quay Road", "Port Vale", "ON", "K0A 1B0", "Canada"}));
}

TEST(VCardParse, ByteOrderMarksAreRead)
{
    const QByteArray text = card({"FN:Zoë Brennan"});
    EXPECT_EQ(only("\xEF\xBB\xBF" + text).first(str("FN"))->value(), str("Zoë Brennan"));
    const QString asText = QString::fromUtf8(text);
    QByteArray utf16("\xFF\xFE", 2);
    for (const QChar ch : asText)
        utf16.append(char(ch.unicode() & 0xFF)).append(char(ch.unicode() >> 8));
    EXPECT_EQ(only(utf16).first(str("FN"))->value(), str("Zoë Brennan"));
}

TEST(VCardRobustness, UnclosedCardsEndAtTheNextBeginOrTheEndOfInput)
{
    const QList<VCard> cards = ParseVCards(crlf({
        "BEGIN:VCARD",
        "FN:First Without End",
        "BEGIN:VCARD",
        "FN:Second",
        "END:VCARD",
        "FN:Outside Any Card",
        "END:VCARD",
        "BEGIN:VCARD",
        "FN:Third Cut Short",
        "NOTE;ENCODING=QUOTED-PRINTABLE:dangling=",
    }));
    ASSERT_EQ(cards.size(), 3);
    EXPECT_EQ(cards[0].first(str("FN"))->value(), str("First Without End"));
    EXPECT_EQ(cards[1].properties.size(), 1);
    EXPECT_EQ(cards[2].first(str("FN"))->value(), str("Third Cut Short"));
    EXPECT_EQ(cards[2].first(str("NOTE"))->value(), str("dangling"));

    // A trailing soft break must not swallow the card's end.
    const QList<VCard> two = ParseVCards(card({"FN:Kept", "NOTE;QUOTED-PRINTABLE:last="}) + card({"FN:Next"}));
    ASSERT_EQ(two.size(), 2);
    EXPECT_EQ(two[0].first(str("NOTE"))->value(), str("last"));
    EXPECT_EQ(two[1].first(str("FN"))->value(), str("Next"));
}

TEST(VCardRobustness, UnreadableLinesAndEmptyCardsAreSkipped)
{
    const QList<VCard> cards = ParseVCards(crlf({
        "BEGIN:VCARD",
        "VERSION:3.0",
        "END:VCARD",
        "BEGIN:VCARD",
        "VERSION:3.0",
        "this line has no colon",
        "bad name here: value",
        ":no name",
        "item 1.TEL:555",
        "PHOTO;ENCODING=b;TYPE=JPEG:/9j/4AAQSkZJRgABAQ",
        " AAAQABAAD/2wBDAAMCAgICAgMCAgIDAwMDBAYEBAQEBAgGBgUGBwkHBwcICQ",
        "EMAIL:",
        "FN:Kept Person",
        "END:VCARD",
        "BEGIN:VCARD",
        "NOTE:   ",
        "END:VCARD",
    }));
    ASSERT_EQ(cards.size(), 1);
    QStringList names;
    for (const VCardProperty& p : cards[0].properties)
        names.append(p.name);
    EXPECT_EQ(names, strs({"VERSION", "EMAIL", "FN"}));
}

TEST(VCardRobustness, LongLinesAreReadWhole)
{
    // Each shape once: one huge value, a huge line with no colon, a value
    // folded a hundred thousand times, and as many soft line breaks.
    const QByteArray huge(1 << 20, 'x');
    QByteArray folded = "NOTE:";
    QByteArray soft = "X-SOFT;ENCODING=QUOTED-PRINTABLE:";
    for (int i = 0; i < 100000; ++i) {
        folded.append("\r\n ab");
        soft.append("cd=\r\n");
    }
    const QByteArray data = "BEGIN:VCARD\r\nFN:" + huge + "\r\n" + huge + "\r\n" + folded + "\r\n" + soft + "e\r\nEND:VCARD\r\n";
    const VCard c = only(data);
    ASSERT_EQ(c.properties.size(), 3);
    EXPECT_EQ(c.first(str("FN"))->value().size(), huge.size());
    EXPECT_EQ(c.first(str("NOTE"))->value(), QString::fromLatin1(QByteArray("ab").repeated(100000)));
    EXPECT_EQ(c.first(str("X-SOFT"))->value(), QString::fromLatin1(QByteArray("cd").repeated(100000) + "e"));
}

TEST(VCardRobustness, CardsAreHandedOverOneAtATimeUntilTheReaderIsStopped)
{
    const QByteArray data = card({"FN:One"}) + card({"VERSION:3.0"}) + card({"FN:Two"}) + card({"FN:Three"});
    QStringList taken;
    ReadVCards(data, [&taken](VCard& c) {
        taken.append(c.first(str("FN"))->value());
        return taken.size() < 2;
    });
    EXPECT_EQ(taken, strs({"One", "Two"}));
}

TEST(VCardRobustness, RandomBytesNeverBreakTheReader)
{
    std::mt19937 random(20240611);
    const QList<QByteArray> pieces = {"BEGIN:VCARD", "END:VCARD", "\r\n", "\n", "\r", " ", "=", ";", ":", "\\",
                                      "\"", ",", "TEL;WORK:", "N:", "=C3=", "QUOTED-PRINTABLE", "CHARSET=", "."};
    for (int round = 0; round < 300; ++round) {
        QByteArray data;
        const int length = int(random() % 2000);
        while (data.size() < length) {
            if (random() % 3 == 0)
                data.append(pieces[random() % pieces.size()]);
            else
                data.append(char(random() % 256));
        }
        for (const VCard& c : ParseVCards(data)) {
            // Whatever is kept holds something and maps only to known labels.
            ASSERT_FALSE(c.properties.isEmpty());
            for (const VCardProperty& p : c.properties) {
                ASSERT_FALSE(p.name.isEmpty());
                ASSERT_EQ(p.name, p.name.toUpper());
            }
            const QHash<QString, QString> map = MapContactProperties(c);
            for (auto it = map.begin(); it != map.end(); ++it) {
                ASSERT_FALSE(it.value().isEmpty());
                ASSERT_EQ(it.value(), it.value().trimmed());
            }
        }
    }
}

TEST(VCardMapping, EveryLabelFromOneFullCard)
{
    const QHash<QString, QString> m = mapped({
        "VERSION:3.0",
        "N:Okonkwo-Reyes;Adaeze;Ifeoma;Dr.;MBA",
        "TITLE:Head of Field Operations",
        "ORG:Cinder Vale Mining;Exploration;Block D",
        "EMAIL;TYPE=INTERNET:one@example.com",
        "EMAIL;TYPE=INTERNET:two@example.org",
        "EMAIL;TYPE=INTERNET:three@example.com",
        "TEL;TYPE=WORK:+1-555-0100",
        "TEL;TYPE=WORK,VOICE:+1-555-0101",
        "TEL;TYPE=WORK,FAX:+1-555-0102",
        "TEL;TYPE=CELL:+1-555-0103",
        "TEL;TYPE=PAGER:+1-555-0104",
        "TEL;TYPE=HOME:+1-555-0105",
        "TEL;TYPE=HOME:+1-555-0106",
        "TEL;TYPE=HOME,FAX:+1-555-0107",
        "TEL;TYPE=CAR:+1-555-0108",
        "TEL;TYPE=X-EVOLUTION-RADIO:+1-555-0109",
        "TEL;TYPE=X-EVOLUTION-ASSISTANT:+1-555-0110",
        "URL:https://cindervale.example.com/",
        "X-EVOLUTION-ASSISTANT:Jonas Brightwater",
        "ADR;TYPE=WORK:PO Box 9;Suite 4;1 Slate Road;Greyhollow;Cumbria;GH9 9ZZ;United Kingdom",
        "NOTE:Site visits only\\nwith a hard hat",
    });
    const QStringList expected = strs({
        "Okonkwo-Reyes", "Adaeze", "Ifeoma", "MBA", "Dr.", "Head of Field Operations", "Exploration",
        "Cinder Vale Mining", "one@example.com", "two@example.org", "three@example.com", "+1-555-0100",
        "+1-555-0101", "+1-555-0102", "+1-555-0103", "+1-555-0104", "+1-555-0105", "+1-555-0106",
        "+1-555-0107", "+1-555-0108", "https://cindervale.example.com/", "+1-555-0109", "Jonas Brightwater",
        "+1-555-0110", "Block D", "1 Slate Road", "Greyhollow", "Cumbria", "GH9 9ZZ", "United Kingdom",
        "Site visits only\r\nwith a hard hat",
    });
    const QStringList& labels = ContactsStore::PropertyLabels();
    ASSERT_EQ(labels.size(), expected.size());
    EXPECT_EQ(m.size(), labels.size());
    for (qsizetype i = 0; i < labels.size(); ++i)
        EXPECT_EQ(m.value(labels[i].trimmed()), expected[i]) << labels[i].toStdString();
}

TEST(VCardMapping, NameParts)
{
    // Title is the honorific before the name, Suffix the one after it.
    QHash<QString, QString> m = mapped({"N:  Doe ;Jane;;Prof.;III"});
    EXPECT_EQ(m.value(str("Last Name")), str("Doe"));
    EXPECT_EQ(m.value(str("Title")), str("Prof."));
    EXPECT_EQ(m.value(str("Suffix")), str("III"));
    EXPECT_FALSE(m.contains(str("Middle Name")));
    EXPECT_FALSE(m.contains(str("Job Title")));

    m = mapped({"N:;; ;;", "TEL:555"});
    EXPECT_FALSE(m.contains(str("Last Name")));
}

TEST(VCardMapping, WithoutAStructuredNameTheFormattedNameNamesTheContact)
{
    // Whole, never split: "de Vries" is no first name.
    QHash<QString, QString> m = mapped({"VERSION:4.0", "FN:Maria de Vries"});
    EXPECT_EQ(m.value(str("Last Name")), str("Maria de Vries"));
    EXPECT_FALSE(m.contains(str("First Name")));
    EXPECT_EQ(mapped({"N:;;;;", "FN:Blank N"}).value(str("Last Name")), str("Blank N"));
    EXPECT_EQ(mapped({"N:Lark;Ada;;;", "FN:Ada Lark"}).value(str("Last Name")), str("Lark"));
    // A company's own card is listed by its company only.
    m = mapped({"FN:Acme Ltd", "ORG:Acme Ltd"});
    EXPECT_FALSE(m.contains(str("Last Name")));
    EXPECT_EQ(m.value(str("Company")), str("Acme Ltd"));
    EXPECT_FALSE(mapped({"KIND:org", "FN:Widgets"}).contains(str("Last Name")));
}

TEST(VCardMapping, AddressBookLabelsAndUntypedNumbers)
{
    QHash<QString, QString> m = mapped({
        "N:Lark;Ada;;;",
        "item1.TEL:555-0101",
        "item1.X-ABLabel:_$!<Mobile>!$_",
        "item2.TEL:555-0102",
        "item2.X-ABLabel:work",
        "item3.TEL;type=pref:555-0103",
        "item3.X-ABLabel:_$!<HomeFAX>!$_",
        "item4.ADR:;;1 Mill Lane;Workton;;;",
        "item4.X-ABLabel:Work",
        "item5.X-ABRELATEDNAMES:Agnes Hartley",
        "item5.X-ABLabel:_$!<Assistant>!$_",
        "item6.URL:https\\://lark.example.com/",
        "item6.X-ABLabel:_$!<HomePage>!$_",
        "item7.TEL:555-0107",
        "item7.X-ABLabel:Car",
        "TEL;TYPE=VOICE:555-0108",
    });
    EXPECT_EQ(m.value(str("Mobile Tel")), str("555-0101"));
    EXPECT_EQ(m.value(str("Work Tel")), str("555-0102"));
    EXPECT_EQ(m.value(str("Home Fax")), str("555-0103"));
    EXPECT_EQ(m.value(str("Business Street")), str("1 Mill Lane"));
    EXPECT_EQ(m.value(str("Assistant")), str("Agnes Hartley"));
    EXPECT_EQ(m.value(str("Web Page")), str("https://lark.example.com/"));
    EXPECT_EQ(m.value(str("Car Tel")), str("555-0107"));
    // A number that names no place takes the free work slot after the labelled one.
    EXPECT_EQ(m.value(str("Work2 Tel")), str("555-0108"));
    // A label belongs to its own group only.
    EXPECT_FALSE(m.contains(str("Home Tel")));

    m = mapped({"TEL:555-0201", "TEL;TYPE=MAIN:555-0202", "TEL;TYPE=WORK:555-0203"});
    EXPECT_EQ(m.value(str("Work Tel")), str("555-0203"));
    EXPECT_EQ(m.value(str("Work2 Tel")), str("555-0201"));
}

TEST(VCardMapping, TelephonesGoToTheirSlots)
{
    const QHash<QString, QString> m = mapped({
        "TEL:555-0999",
        "TEL;TYPE=WORK,CELL:555-0101",
        "TEL;TYPE=WORK,PAGER:555-0102",
        "TEL;TYPE=WORK,CAR:555-0103",
        "TEL;TYPE=HOME,FAX:555-0104",
        "TEL;TYPE=WORK,VOICE:555-0105",
        "TEL;TYPE=HOME,CELL:555-0106",
        "TEL;TYPE=WORK:   ",
        "TEL;TYPE=WORK:555-0107",
        "TEL;TYPE=WORK:555-0108",
        "TEL;TYPE=HOME:555-0109",
        "TEL;TYPE=HOME:555-0110",
        "TEL;TYPE=VOICE:555-0998",
    });
    EXPECT_EQ(m.value(str("Mobile Tel")), str("555-0101"));
    EXPECT_EQ(m.value(str("Pager")), str("555-0102"));
    EXPECT_EQ(m.value(str("Car Tel")), str("555-0103"));
    EXPECT_EQ(m.value(str("Home Fax")), str("555-0104"));
    EXPECT_FALSE(m.contains(str("Work Fax")));
    // The first two plain work numbers; a blank one does not take a place.
    EXPECT_EQ(m.value(str("Work Tel")), str("555-0105"));
    EXPECT_EQ(m.value(str("Work2 Tel")), str("555-0107"));
    EXPECT_EQ(m.value(str("Home Tel")), str("555-0106"));
    EXPECT_EQ(m.value(str("Home2 Tel")), str("555-0109"));
    // The work slots are taken: numbers that name no place, and the surplus ones, are nowhere.
    for (const char* unused : {"555-0999", "555-0998", "555-0108", "555-0110"})
        EXPECT_FALSE(m.values().contains(str(unused))) << unused;
}

TEST(VCardMapping, FaxRadioAndAssistantNumbersFromEveryDialect)
{
    QHash<QString, QString> m = MapContactProperties(only(crlf({
        "BEGIN:VCARD",
        "VERSION:2.1",
        "TEL;HOME;FAX:555-0201",
        "TEL;FAX:555-0202",
        "TEL;X-RADIO:555-0203",
        "TEL;TYPE=X-ASSISTANT:555-0204",
        "TEL;VALUE=uri;TYPE=\"work,voice\":tel:+1-555-0205",
        "END:VCARD",
    })));
    EXPECT_EQ(m.value(str("Home Fax")), str("555-0201"));
    EXPECT_EQ(m.value(str("Work Fax")), str("555-0202")); // a fax that is not at home
    EXPECT_EQ(m.value(str("Radio Tel")), str("555-0203"));
    EXPECT_EQ(m.value(str("Assistant Tel")), str("555-0204"));
    EXPECT_EQ(m.value(str("Work Tel")), str("+1-555-0205"));

    m = mapped({"TEL;TYPE=FAX,HOME:555-0301", "TEL;TYPE=WORK,FAX,HOME:555-0302"});
    EXPECT_EQ(m.value(str("Work Fax")), str("555-0302"));
    EXPECT_EQ(m.value(str("Home Fax")), str("555-0301"));
}

TEST(VCardMapping, EmailsInOrderOfPreference)
{
    QHash<QString, QString> m = mapped({
        "EMAIL:first@example.com",
        "EMAIL;PREF=2:second-choice@example.com",
        "EMAIL:",
        "EMAIL:last@example.org",
        "EMAIL;PREF=1:best@example.org",
    });
    EXPECT_EQ(m.value(str("Email")), str("best@example.org"));
    EXPECT_EQ(m.value(str("Email2")), str("second-choice@example.com"));
    EXPECT_EQ(m.value(str("Email3")), str("first@example.com"));
    EXPECT_FALSE(m.values().contains(str("last@example.org")));

    // 2.1 and 3.0 mark the preferred one with a type.
    m = mapped({"EMAIL;INTERNET:a@example.com", "EMAIL;INTERNET:b@example.com", "EMAIL;INTERNET;PREF:c@example.com"});
    EXPECT_EQ(m.value(str("Email")), str("c@example.com"));
    EXPECT_EQ(m.value(str("Email2")), str("a@example.com"));
    EXPECT_EQ(m.value(str("Email3")), str("b@example.com"));

    // Enough equals for a sort that is not stable to shuffle them.
    VCard many;
    for (int i = 0; i < 40; ++i) {
        VCardProperty email;
        email.name = str("EMAIL");
        email.components = QStringList{QStringLiteral("p%1@example.com").arg(i)};
        if (i == 39)
            email.parameters.insert(str("PREF"), strs({"1"}));
        many.properties.append(email);
    }
    m = MapContactProperties(many);
    EXPECT_EQ(m.value(str("Email")), str("p39@example.com"));
    EXPECT_EQ(m.value(str("Email2")), str("p0@example.com"));
    EXPECT_EQ(m.value(str("Email3")), str("p1@example.com"));
}

TEST(VCardMapping, CompanyOfficeWebPageAndAssistant)
{
    QHash<QString, QString> m = mapped({
        "ORG:Tallow & Wick;Candles;Floor 2",
        "URL;TYPE=home:https://home.example.org/",
        "URL;TYPE=work:https://work.example.com/",
        "RELATED;TYPE=friend;VALUE=text:Not An Assistant",
        "RELATED;TYPE=agent;VALUE=text:Agnes Hartley",
    });
    EXPECT_EQ(m.value(str("Company")), str("Tallow & Wick"));
    EXPECT_EQ(m.value(str("Department")), str("Candles"));
    EXPECT_EQ(m.value(str("Office Loc")), str("Floor 2"));
    EXPECT_EQ(m.value(str("Web Page")), str("https://work.example.com/"));
    EXPECT_EQ(m.value(str("Assistant")), str("Agnes Hartley"));

    m = mapped({
        "ORG:Tallow & Wick;;Floor 2",
        "X-EVOLUTION-OFFICE:Room 12",
        "URL:https://first.example.org/",
        "URL:https://second.example.org/",
        "RELATED;TYPE=agent:urn:uuid:0000",
        "X-ASSISTANT:Cyril Dunmore",
    });
    EXPECT_FALSE(m.contains(str("Department")));
    EXPECT_EQ(m.value(str("Office Loc")), str("Room 12"));
    EXPECT_EQ(m.value(str("Web Page")), str("https://first.example.org/"));
    EXPECT_EQ(m.value(str("Assistant")), str("Cyril Dunmore"));
}

TEST(VCardMapping, BusinessAddressComesFromTheWorkAddress)
{
    QHash<QString, QString> m = mapped({
        "ADR;TYPE=HOME:;;9 Home Street;Hometown;HS;11111;Homeland",
        "ADR;TYPE=WORK,POSTAL:PO Box 1;Suite 2;3 Mill Lane;Workton;WS;22222;Workland",
    });
    EXPECT_EQ(m.value(str("Business Street")), str("3 Mill Lane"));
    EXPECT_EQ(m.value(str("Business City")), str("Workton"));
    EXPECT_EQ(m.value(str("Business State/Region")), str("WS"));
    EXPECT_EQ(m.value(str("Business Zip/Postal Code")), str("22222"));
    EXPECT_EQ(m.value(str("Business Country")), str("Workland"));
    EXPECT_EQ(m.size(), 5);

    m = mapped({"ADR:;;9 Home Street;Hometown;;;"});
    EXPECT_TRUE(m.isEmpty());
}

TEST(VCardMapping, NotesEndLinesWithCrLf)
{
    EXPECT_EQ(mapped({"NOTE:one\\ntwo\\N\\nfour\\n"}).value(str("Notes")), str("one\r\ntwo\r\n\r\nfour"));
    const QHash<QString, QString> m = MapContactProperties(only(crlf({
        "BEGIN:VCARD",
        "VERSION:2.1",
        "NOTE;ENCODING=QUOTED-PRINTABLE:a=0D=0Ab=0Ac=0Dd",
        "END:VCARD",
    })));
    EXPECT_EQ(m.value(str("Notes")), str("a\r\nb\r\nc\r\nd"));
}

TEST(VCardSample, TheShippedAddressBookReadsWhole)
{
    const QByteArray data = testsupport::readFile(testsupport::dataPath(str("../../resources/contacts/sample.vcf")));
    ASSERT_FALSE(data.isEmpty());
    const QList<VCard> cards = ParseVCards(data);
    ASSERT_EQ(cards.size(), 12);
    QList<QHash<QString, QString>> people;
    for (const VCard& c : cards) {
        people.append(MapContactProperties(c));
        EXPECT_FALSE(people.last().value(str("Last Name")).isEmpty());
        EXPECT_FALSE(people.last().value(str("First Name")).isEmpty());
    }
    EXPECT_EQ(people[0].value(str("Last Name")), str("Vossberg-Lüthi"));
    EXPECT_EQ(people[0].value(str("Business Street")), str("Kaistraße 14"));
    EXPECT_EQ(people[1].value(str("First Name")), str("Aurélien"));
    EXPECT_EQ(people[2].value(str("Company")), str("Ashgrove & Pike™ Ltd."));
    EXPECT_EQ(people[4].value(str("Assistant")), str("Pål Rønningen"));
    EXPECT_EQ(people[6].value(str("Email")), str("m.ashcombe@example.com"));
    EXPECT_EQ(people[6].value(str("Business City")), str("Kestrel Bay"));
}

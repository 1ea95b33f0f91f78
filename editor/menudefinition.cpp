#include "editor/menudefinition.h"

#include "framework/commandids.h"

std::vector<MenuItem> MainMenuPopups()
{
    using M = MenuItem;
    return {
        M::submenu(QStringLiteral("File"), {
            M::command(QStringLiteral("New"), cmd::New),
            M::command(QStringLiteral("Open..."), cmd::Open),
            M::command(QStringLiteral("Save"), cmd::Save),
            M::submenu(QStringLiteral("Save As"), {
                M::command(QStringLiteral("Minute..."), cmd::SaveAsMinute),
                M::separator(),
                M::command(QStringLiteral("Template..."), cmd::SaveAsTemplate),
            }),
            M::separator(),
            M::command(QStringLiteral("Exit"), cmd::Exit),
        }),
        M::submenu(QStringLiteral("Edit"), {
            M::command(QStringLiteral("Undo"), cmd::Undo),
            M::separator(),
            M::command(QStringLiteral("Cut"), cmd::Cut),
            M::command(QStringLiteral("Copy"), cmd::Copy),
            M::command(QStringLiteral("Paste"), cmd::Paste),
            M::separator(),
            M::submenu(QStringLiteral("Agenda"), {
                M::command(QStringLiteral("Item Catalogue..."), cmd::ItemCatalogue),
                M::separator(),
                M::command(QStringLiteral("Expand"), cmd::Expand),
                M::separator(),
                M::command(QStringLiteral("Expand all"), cmd::ExpandAll),
                M::command(QStringLiteral("Collapse All"), cmd::CollapseAll),
                M::separator(),
                M::command(QStringLiteral("Insert Item..."), cmd::InsertItem),
                M::command(QStringLiteral("Insert Sub-Item..."), cmd::InsertSubItem),
                M::separator(),
                M::command(QStringLiteral("Delete Item"), cmd::DeleteItem),
            }),
            M::separator(),
            M::command(QStringLiteral("Replace..."), cmd::Replace),
            M::command(QStringLiteral("Find..."), cmd::Find),
        }),
        M::submenu(QString(), {
            M::submenu(QStringLiteral("Export"), {
                M::command(QStringLiteral("As HTML..."), cmd::ExportHtml),
                M::command(QStringLiteral("As Markdown..."), cmd::ExportMarkdown),
                M::command(QStringLiteral("As Note..."), cmd::ExportNote),
                M::command(QStringLiteral("As OPML..."), cmd::ExportOpml),
                M::command(QStringLiteral("As PDF..."), cmd::ExportPdf),
                M::command(QStringLiteral("As RTF File..."), cmd::ExportRtf),
                M::command(QStringLiteral("Text File..."), cmd::ExportText),
                M::command(QStringLiteral("To Clipboard..."), cmd::ExportClipboard),
            }),
            M::separator(),
            M::submenu(QStringLiteral("Check"), {
                M::command(QStringLiteral("Completion..."), cmd::Completion),
            }),
            M::separator(),
            M::submenu(QStringLiteral("Contacts"), {
                M::command(QStringLiteral("Show..."), cmd::ContactsShow),
                M::separator(),
                M::command(QStringLiteral("Specify..."), cmd::ContactsSpecify),
            }),
            M::separator(),
            M::submenu(QStringLiteral("Dates"), {
                M::command(QStringLiteral("Calendar..."), cmd::DatesCalendar),
                M::separator(),
                M::command(QStringLiteral("Specify..."), cmd::DatesSpecify),
            }),
            M::separator(),
            M::submenu(QStringLiteral("Send via Infrared"), {
                M::command(QStringLiteral("As Minute..."), cmd::BeamMinute),
                M::command(QStringLiteral("As HTML..."), cmd::BeamHtml),
                M::command(QStringLiteral("As Markdown..."), cmd::BeamMarkdown),
                M::command(QStringLiteral("As Note..."), cmd::BeamNote),
                M::command(QStringLiteral("As OPML..."), cmd::BeamOpml),
                M::command(QStringLiteral("As PDF..."), cmd::BeamPdf),
                M::command(QStringLiteral("As RTF file..."), cmd::BeamRtf),
                M::command(QStringLiteral("As Text..."), cmd::BeamText),
            }),
            M::separator(),
            M::command(QStringLiteral("Options..."), cmd::Options),
            M::separator(),
            M::command(QStringLiteral("About..."), cmd::About),
        }),
        M::submenu(QString(), {
            M::command(QStringLiteral("Cut"), cmd::Cut),
            M::command(QStringLiteral("Copy"), cmd::Copy),
            M::command(QStringLiteral("Paste"), cmd::Paste),
            M::separator(),
            M::command(QStringLiteral("Undo"), cmd::Undo),
        }),
        M::submenu(QString(), {
            M::command(QStringLiteral("Both"), cmd::ViewBoth),
            M::command(QStringLiteral("Tree"), cmd::ViewTree),
            M::command(QStringLiteral("Text"), cmd::ViewText),
        }),
    };
}

std::vector<MenuItem> DesktopMenus()
{
    using M = MenuItem;
    return {
        M::submenu(QStringLiteral("&File"), {
            M::command(QStringLiteral("&New"), cmd::New),
            M::command(QStringLiteral("&Open..."), cmd::Open),
            M::submenu(QStringLiteral("&Recent"), {}, cmd::RecentMinutes),
            M::submenu(QStringLiteral("I&mport"), {
                M::command(QStringLiteral("&OPML..."), cmd::ImportOpml),
            }),
            M::separator(),
            M::command(QStringLiteral("&Save"), cmd::Save),
            M::submenu(QStringLiteral("Save &As"), {
                M::command(QStringLiteral("&Minute..."), cmd::SaveAsMinute),
                M::separator(),
                M::command(QStringLiteral("&Template..."), cmd::SaveAsTemplate),
            }),
            M::separator(),
            M::submenu(QStringLiteral("&Export"), {
                M::command(QStringLiteral("As &HTML..."), cmd::ExportHtml),
                M::command(QStringLiteral("As Mar&kdown..."), cmd::ExportMarkdown),
                M::command(QStringLiteral("As &Note..."), cmd::ExportNote),
                M::command(QStringLiteral("As &OPML..."), cmd::ExportOpml),
                M::command(QStringLiteral("As &PDF..."), cmd::ExportPdf),
                M::command(QStringLiteral("As &RTF File..."), cmd::ExportRtf),
                M::command(QStringLiteral("&Text File..."), cmd::ExportText),
                M::command(QStringLiteral("To &Clipboard..."), cmd::ExportClipboard),
            }),
            M::submenu(QStringLiteral("Send via &Infrared"), {
                M::command(QStringLiteral("As &Minute..."), cmd::BeamMinute),
                M::command(QStringLiteral("As &HTML..."), cmd::BeamHtml),
                M::command(QStringLiteral("As Mar&kdown..."), cmd::BeamMarkdown),
                M::command(QStringLiteral("As &Note..."), cmd::BeamNote),
                M::command(QStringLiteral("As &OPML..."), cmd::BeamOpml),
                M::command(QStringLiteral("As &PDF..."), cmd::BeamPdf),
                M::command(QStringLiteral("As &RTF file..."), cmd::BeamRtf),
                M::command(QStringLiteral("As &Text..."), cmd::BeamText),
            }),
            M::separator(),
            M::command(QStringLiteral("&Print..."), cmd::Print),
            M::command(QStringLiteral("Print Pre&view..."), cmd::PrintPreview),
            M::separator(),
            M::command(QStringLiteral("E&xit"), cmd::Exit),
        }),
        M::submenu(QStringLiteral("&Edit"), {
            M::command(QStringLiteral("&Undo"), cmd::Undo),
            M::separator(),
            M::command(QStringLiteral("Cu&t"), cmd::Cut),
            M::command(QStringLiteral("&Copy"), cmd::Copy),
            M::command(QStringLiteral("&Paste"), cmd::Paste),
            M::separator(),
            M::command(QStringLiteral("&Delete Item"), cmd::DeleteItem),
            M::separator(),
            M::command(QStringLiteral("&Find..."), cmd::Find),
            M::command(QStringLiteral("Find &next occurence"), cmd::FindNext),
            M::command(QStringLiteral("&Replace..."), cmd::Replace),
            M::command(QStringLiteral("Replace ne&xt occurence"), cmd::ReplaceNext),
        }),
        M::submenu(QStringLiteral("&View"), {
            M::command(QStringLiteral("&Both"), cmd::ViewBoth),
            M::command(QStringLiteral("&Tree"), cmd::ViewTree),
            M::command(QStringLiteral("Te&xt"), cmd::ViewText),
            M::command(QStringLiteral("&Side by Side"), cmd::ViewSideBySide),
            M::separator(),
            M::command(QStringLiteral("&Expand"), cmd::Expand),
            M::command(QStringLiteral("Expand &all"), cmd::ExpandAll),
            M::command(QStringLiteral("&Collapse All"), cmd::CollapseAll),
            M::separator(),
            M::command(QStringLiteral("Co&mmand Bar"), cmd::ViewCommandBar),
        }),
        M::submenu(QStringLiteral("&Insert"), {
            M::command(QStringLiteral("Insert &Item..."), cmd::InsertItem),
            M::command(QStringLiteral("Insert &Sub-Item..."), cmd::InsertSubItem),
            M::separator(),
            M::submenu(QStringLiteral("&Contacts"), {
                M::command(QStringLiteral("&Show..."), cmd::ContactsShow),
                M::separator(),
                M::command(QStringLiteral("S&pecify..."), cmd::ContactsSpecify),
            }),
            M::submenu(QStringLiteral("&Dates"), {
                M::command(QStringLiteral("&Calendar..."), cmd::DatesCalendar),
                M::separator(),
                M::command(QStringLiteral("S&pecify..."), cmd::DatesSpecify),
            }),
        }),
        M::submenu(QStringLiteral("&Tools"), {
            M::command(QStringLiteral("Item &Catalogue..."), cmd::ItemCatalogue),
            M::submenu(QStringLiteral("C&heck"), {
                M::command(QStringLiteral("&Completion..."), cmd::Completion),
            }),
            M::separator(),
            M::command(QStringLiteral("&Options..."), cmd::Options),
        }),
        M::submenu(QStringLiteral("&Help"), {
            M::command(QStringLiteral("Quillon &Help"), cmd::Help),
            M::separator(),
            M::command(QStringLiteral("&About..."), cmd::About),
        }),
    };
}

QString WithoutMnemonic(QString text)
{
    // "&&" stands for a literal ampersand.
    QString result;
    result.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == QLatin1Char('&') && i + 1 < text.size())
            ++i;
        result.append(text[i]);
    }
    return result;
}

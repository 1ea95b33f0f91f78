#pragma once

#include <memory>

class CMinuteView;
class COptionsSheet;

// The commands about the minute as a whole that the tree view answers: a new
// minute (with its completion check and template choice), an imported one,
// Save As Template,
// the completion check, the item catalogue and the options sheet.
class MinuteCommands {
public:
    explicit MinuteCommands(CMinuteView& view);
    ~MinuteCommands();

    void OnFileNew();
    // A new minute from an OPML file; the open minute is only touched once the file has been read.
    void OnFileImportOpml();
    void OnFileSaveAsTemplate();
    // The check for items without text; true when the caller may go on.
    bool CheckCompletion(bool askToContinue);
    void OnItemCatalogue();
    void OnEditOptions();
    COptionsSheet& OptionsSheet();

private:
    CMinuteView& m_view;
    std::unique_ptr<COptionsSheet> m_optionsSheet;
};

#pragma once

#include "framework/document.h"
#include "model/minutenodes.h"
#include "model/nodelist.h"
#include "options/options.h"

#include <QString>

#include <functional>
#include <memory>
#include <optional>

class DevicePaths;
class MinuteViewLink;
enum class SymLinks;
class SettingsProfile;
class UiService;

// The one minute document of the application: the minute, the cut buffer,
// the options and the minute's path. New and open refill it in place.
class CQuillonDoc : public Document, public MinuteNodes {
public:
    // The title of a minute that has never been saved, and its caption for questions.
    static const QString kUntitled;

    CQuillonDoc(SettingsProfile& profile, UiService& ui, const DevicePaths& device);
    ~CQuillonDoc() override;

    void SetMinuteView(MinuteViewLink* view);

    // Document steps.
    void ClearContents();
    bool OnNewMinute();
    bool OnOpenMinute(const QString& path);
    bool OnSaveMinute(const QString& path);
    // Replaces the minute with a recovery copy of it: the result is the
    // modified minute it was, with its own path (empty for one never saved),
    // so that Save writes where the user expects. The views are not told.
    bool OnRecoverMinute(const QString& copyHostPath, const QString& minutePath);
    void OnCloseMinute();
    bool QuerySaveChanges();
    // Opens a minute as File > Open does once a file is chosen: the usual
    // save question first, and the question to revert for the minute's own file.
    void OpenMinuteFile(const QString& path);
    bool IsMinuteModified() const { return IsModified(); }
    void SetMinuteModified(bool modified) { SetModifiedFlag(modified); }

    // Commands.
    void OnFileOpen();
    void OnFileSave();
    // True when the minute was written to a chosen file.
    bool OnFileSaveAs();

    // State the views and dialogs read and set.
    int GetCurrentNode() const { return m_nCurrentNode; }
    void SetCurrentNode(int index) { m_nCurrentNode = index; }
    bool GetReplacePending() const { return m_bReplacePending; }
    void SetReplacePending(bool pending) { m_bReplacePending = pending; }
    bool GetDocOpen() const { return m_bDocOpen; }
    QString GetPath() const { return m_strPath; }
    COptions* GetOptions() const { return m_pOptions.get(); }
    QString GetOpenPath() const { return m_strOpenPath; }
    bool GetFromTemplate() const { return m_bFromTemplate; }
    bool GetOpenTemplate() const { return m_bOpenTemplate; }
    // What the New minute dialog chooses: a template to read into the fresh
    // minute, or (with an empty path) a blank one.
    void ClearOpenTemplate() { m_bOpenTemplate = false; }
    void ChooseTemplate(const QString& templatePath);
    void ChooseBlankMinute() { m_bFromTemplate = false; }
    // Items read from another program's outline: the next new minute holds
    // them, and starts modified, as it has no file of its own yet.
    void ChooseImportedMinute(NodeList nodes) { m_importedNodes = std::move(nodes); }
    void DropImportedMinute() { m_importedNodes.reset(); }

    // The host folder of the minute's file, where file dialogs start; empty
    // for a minute that has none.
    QString MinuteFolder() const;

    // Told the path of each minute opened or saved as itself (not a
    // template read into a new minute, nor a template saved).
    void SetMinuteFileHandler(std::function<void(const QString& path)> handler) { m_onMinuteFile = std::move(handler); }

    SettingsProfile& Profile() const { return m_profile; }
    const DevicePaths& Device() const { return m_device; }

    // The framework's steps.
    bool OnNewDocument() override;
    bool OnOpenDocument(const QString& path) override;
    bool SaveModified() override;
    void DeleteContents() override;

private:
    enum class SaveAsResult { Saved, Cancelled, Failed };
    SaveAsResult SaveAs();
    // Reads a minute file into the document, reporting failures.
    bool ReadMinuteFile(const QString& path);
    // Whether a path names a file in the templates folder.
    bool IsTemplatePath(const QString& path) const;
    // How a link in the place of the file at path is taken when it is read or written.
    SymLinks LinksAt(const QString& path) const;
    void ShowError(const QString& message);
    void PrepareSave();

    std::function<void(const QString&)> m_onMinuteFile;
    std::unique_ptr<COptions> m_pOptions;
    NodeList m_nodeList;
    NodeList m_clipList;
    std::optional<NodeList> m_importedNodes;
    bool m_bFromTemplate = false;
    bool m_bOpenTemplate = false;
    QString m_strOpenPath;
    bool m_bReplacePending = false;
    QString m_strPath;
    bool m_bDocOpen = false;
    int m_nCurrentNode = 0;

    SettingsProfile& m_profile;
    UiService& m_ui;
    const DevicePaths& m_device;
    MinuteViewLink* m_pMinuteView = nullptr;
};

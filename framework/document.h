#pragma once

#include "framework/cmdtarget.h"

#include <QList>
#include <QString>

#include <functional>
#include <utility>
#include <vector>

class SingleDocTemplate;
class View;

// The document of a document/view application: the views that show it, its
// modified flag, its path name and title. Views are told of changes through
// UpdateAllViews; commands that no view handles reach the document.
class Document : public CommandTarget {
public:
    Document();
    ~Document() override;
    Document(const Document&) = delete;
    Document& operator=(const Document&) = delete;

    void AddView(View* view);
    void RemoveView(View* view);

    // Tells every view but sender about a change; hint says what changed.
    void UpdateAllViews(View* sender, qintptr hint = 0);
    // Gives every view its initial update, in view order.
    void SendInitialUpdate();

    bool IsModified() const { return m_bModified; }
    void SetModifiedFlag(bool modified = true)
    {
        m_bModified = modified;
        for (const auto& [id, listener] : m_modifiedListeners)
            listener(modified);
    }
    // Listeners are told of every setting of the modified flag, a repeated
    // one too: each edit sets it, so they hear of every change to the
    // contents. The id returned removes the listener again.
    int AddModifiedListener(std::function<void(bool modified)> listener)
    {
        m_modifiedListeners.emplace_back(++m_nLastListener, std::move(listener));
        return m_nLastListener;
    }
    void RemoveModifiedListener(int id)
    {
        std::erase_if(m_modifiedListeners, [id](const auto& entry) { return entry.first == id; });
    }

    QString GetPathName() const { return m_strPathName; }
    void SetPathName(const QString& path);
    QString GetTitle() const { return m_strTitle; }
    void SetTitle(const QString& title) { m_strTitle = title; }

    SingleDocTemplate* GetDocTemplate() const { return m_pDocTemplate; }
    void SetDocTemplate(SingleDocTemplate* docTemplate) { m_pDocTemplate = docTemplate; }

    // Offers a command to every view but the given one, in view order; true
    // at the first that knows it.
    bool RouteCmdToOtherViews(View* active, int id, CmdUI* ui);

    // The steps the document template drives.
    virtual bool OnNewDocument();
    virtual bool OnOpenDocument(const QString& path);
    // Whether the document may be replaced or closed (after asking to save).
    virtual bool SaveModified();
    virtual void DeleteContents();

private:
    QList<View*> m_views;
    bool m_bModified = false;
    std::vector<std::pair<int, std::function<void(bool)>>> m_modifiedListeners;
    int m_nLastListener = 0;
    QString m_strPathName;
    QString m_strTitle;
    SingleDocTemplate* m_pDocTemplate = nullptr;
};

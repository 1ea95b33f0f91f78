#include "contacts/contactsconnection.h"

#include "platform/contactsstore.h"

ContactsStore* g_pOutlookApp = nullptr;
bool g_bContactsAvailable = false;

bool EnsureContactsRegistered(ContactsStore& store)
{
    return store.IsRegistered() || store.Register();
}

bool ContactsStartup(ContactsStore& store)
{
    if (!store.IsRegistered())
        return false;
    g_pOutlookApp = &store;
    return store.LogOn();
}

bool ContactsShutdown()
{
    if (!g_pOutlookApp)
        return false;
    g_pOutlookApp->LogOff();
    return true;
}

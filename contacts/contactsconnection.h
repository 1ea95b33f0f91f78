#pragma once

class ContactsStore;

// The connection to the contacts store, made at start-up and ended at exit.
extern ContactsStore* g_pOutlookApp;
extern bool g_bContactsAvailable;

// Makes sure the store is registered (registering it when not); the result is informative.
bool EnsureContactsRegistered(ContactsStore& store);
// Connects to the store and logs on; true when contacts can be read.
bool ContactsStartup(ContactsStore& store);
// Logs off; false when there was no connection.
bool ContactsShutdown();

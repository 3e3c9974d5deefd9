// The record's folder in the browser's storage (IndexedDB). The stored copy
// catches up with the in-memory one:
// - a copy out starts after every save, and again when the page is hidden
//   or left while a save has not been stored yet;
// - one copy runs at a time; a request during it starts another once it ends;
// - a copy that fails names its reason in the console, and the record counts
//   as not stored, so the next save or hiding the page tries again.
#pragma once

// Installs the copying and the page's hide and leave listeners; once, when
// the storage could be opened. Written in the page's language, hence C
// linkage.
extern "C" void InstallRecordStore();

// Starts a copy out after a save.
void StoreRecordFolder();

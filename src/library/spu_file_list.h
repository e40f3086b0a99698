#pragma once
// The SPU file list: the logs of one folder (or of an imported playlist), their check
// marks, the selection, and the count its label shows. Owned by the user-interface thread;
// the folder scan and the playlist import hand their rows over to be applied there.

#include <string>

#include "library/entry_list.h"

namespace kestrel {

struct SpuFileList {
  EntryList entries;
  // Files found by the last scan or import: the number Check all, UnCheck all, Shuffle and
  // the chain advance walk.
  int count = 0;
  bool detecting = false;  // a folder scan is filling the list
  bool importing = false;  // a playlist import is filling the list
  std::string statusText;  // "Detecting files..." while a job fills it

  std::string CountLabel() const { return std::to_string(count); }
  bool Filling() const { return detecting || importing; }
};

// Rows 0 .. count-1.
void CheckAllItems(SpuFileList& list);
void UnCheckAllItems(SpuFileList& list);

// Selects the row after / before the selected one. Nothing happens without a selection or
// at either end (no wrap-around). True when the selection moved.
bool SelectNextEntry(SpuFileList& list);
bool SelectPreviousEntry(SpuFileList& list);

}  // namespace kestrel

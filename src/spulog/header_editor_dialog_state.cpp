#include "spulog/header_editor_dialog_state.h"

namespace kestrel {
namespace {

using namespace header_dialog;

constexpr int kFields[] = {kFileName, kGameTitle, kMusicTitle, kCopyright, kSave};

}  // namespace

void HeaderEditorDialogState::Open(const std::string& name, const std::string& path) {
  opened_ = OpenHeaderEditor(name, path);
  fileName = opened_->fileName;
  gameTitle = opened_->gameTitle;
  musicTitle = opened_->musicTitle;
  copyright = opened_->copyright;
  statusText = opened_->statusText;
  // A log that may not be written keeps its titles readable but not editable.
  const bool writable = opened_->saveRefusal.empty();
  for (const int id : kFields) controls.SetEnabled(id, writable);
}

void HeaderEditorDialogState::OpenWithoutSelection() {
  opened_.reset();
  fileName.clear();
  gameTitle.clear();
  musicTitle.clear();
  copyright.clear();
  statusText.clear();
  for (const int id : kFields) controls.SetEnabled(id, true);
}

bool HeaderEditorDialogState::Edit(int id, std::string text) {
  switch (id) {
    case kGameTitle: gameTitle = std::move(text); return true;
    case kMusicTitle: musicTitle = std::move(text); return true;
    case kCopyright: copyright = std::move(text); return true;
    default: return false;
  }
}

bool HeaderEditorDialogState::Save() {
  if (!opened_) return false;
  return SaveHeaderInformation(*opened_, gameTitle, musicTitle, copyright) == HeaderSaveResult::Saved;
}

}  // namespace kestrel

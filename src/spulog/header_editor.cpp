#include "spulog/header_editor.h"

#include "platform/console_log.h"
#include "platform/message_port.h"
#include "spulog/header_information.h"
#include "spulog/log_path.h"
#include "spulog/title_text.h"
#include "spulog/title_writer.h"

namespace kestrel {
namespace {

std::optional<std::string> IfChanged(const std::string& text, const std::string& shown) {
  return text == shown ? std::nullopt : std::optional(text);
}

}  // namespace

HeaderEditorFields OpenHeaderEditor(const std::string& name, const std::string& path) {
  HeaderEditorFields fields;
  fields.fileName = name;
  fields.path = path;
  fields.compressed = IsCompressedLogPath(path);
  const HeaderInformation header = ReadHeaderInformation(path);
  fields.gameTitle = TitleToUtf8(header.gameTitle);
  fields.musicTitle = TitleToUtf8(header.musicTitle);
  fields.copyright = TitleToUtf8(header.copyright);
  fields.saveRefusal = TitleWriteRefusal(path);
  if (fields.compressed) {
    fields.statusText = kCompressedWarning;
  } else if (!fields.saveRefusal.empty()) {
    fields.statusText = "Warning : Can't save the titles: " + fields.saveRefusal + ".";
  }
  return fields;
}

HeaderSaveResult SaveHeaderInformation(const HeaderEditorFields& opened, const std::string& gameTitle,
                                       const std::string& musicTitle, const std::string& copyright) {
  if (!TitleWriteRefusal(opened.path).empty()) return HeaderSaveResult::Refused;
  // A title shown as the file holds it is not rewritten: its bytes may be in another code page.
  const TitleEdits edits{IfChanged(gameTitle, opened.gameTitle), IfChanged(musicTitle, opened.musicTitle),
                         IfChanged(copyright, opened.copyright)};
  if (const std::string refusal = TitleTextRefusal(edits); !refusal.empty()) {
    MessagePort::Show("Cannot write the header information: " + refusal + ".", "Warning", MessageIcon::Exclamation);
    return HeaderSaveResult::Refused;
  }
  if (MessagePort::Show("Save Header Information, OK?", "Confirm", MessageIcon::Question,
                        MessageButtons::YesNo) != MessageAnswer::Yes) {
    return HeaderSaveResult::Declined;
  }
  if (const WriteResult written = WriteTitles(opened.path, edits); !written) {
    ConsoleLog::Write("test\n");
    MessagePort::Show("Cannot write the header information: " + written.failure + ".\n\n" + opened.path, "Warning",
                      MessageIcon::Exclamation);
    return HeaderSaveResult::WriteFailed;
  }
  std::string notes;
  for (const std::string& note : TitleCutNotes(edits)) notes += note + ".\n";
  if (!notes.empty()) MessagePort::Show(notes, "Info", MessageIcon::Information);
  return HeaderSaveResult::Saved;
}

}  // namespace kestrel

#pragma once
// What the About dialog shows, top to bottom, and how it closes.

namespace kestrel {

struct AboutDialogState {
  static constexpr const char* kCaption = "About Kestrel SPU Player";
  static constexpr int kOk = 2;
  // The framed area beside the program icon.
  static constexpr const char* kTitle = "Kestrel SPU Player v.1.20";
  static constexpr const char* kSubtitle = "- PSX SPU LogData Player -";
  static constexpr const char* kCredit = "Written by the Kestrel SPU Player developers";
  static constexpr const char* kAddress = "An original player for Linux, in C++20";
  // The credits below the frame.
  static constexpr const char* kGreetingsHeading = "Greetings";
  static constexpr const char* kGreetings = "To everyone who records, keeps and shares the music of PSX games";
  static constexpr const char* kClosing = "May your logs play on.";
  static constexpr const char* kThanksHeading = "Thanks";
  static constexpr const char* kThanks = "To the authors of the public PSX hardware documentation";
  static constexpr const char* kContact = "Bugs and wishes: the project's issue tracker";

  // The dialog's result: 2 for "OK", 0 for the title bar's close button.
  static constexpr int Close(int command) { return command == kOk ? kOk : 0; }
};

}  // namespace kestrel

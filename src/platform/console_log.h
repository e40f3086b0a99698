#pragma once
// The process-wide console log: progress lines of the player, the decoder and the readers.
// Lines written while no output is attached are discarded.

#include <functional>
#include <string>
#include <string_view>

namespace kestrel {

class ConsoleLog {
 public:
  using Output = std::function<void(std::string_view line)>;

  // Detaches its output when destroyed.
  class Attachment {
   public:
    Attachment() = default;
    explicit Attachment(int id) : id_(id) {}
    Attachment(Attachment&& other) noexcept : id_(other.id_) { other.id_ = 0; }
    Attachment& operator=(Attachment&& other) noexcept;
    Attachment(const Attachment&) = delete;
    Attachment& operator=(const Attachment&) = delete;
    ~Attachment();

   private:
    int id_ = 0;
  };

  // Outputs are called under the log's lock, one line at a time, from any thread.
  [[nodiscard]] static Attachment Attach(Output output);
  static bool HasOutput();

  // Lines carry their own line feeds, as they are written.
  static void Write(std::string_view line);
  static void Writef(const char* format, ...) __attribute__((format(printf, 1, 2)));
};

}  // namespace kestrel

// Drives our SPU plugin through its real entry points with calls chosen by the input bytes:
// register writes and reads, DMA both ways, XA and CD-audio blocks, SPUfreeze blocks, SPUasync
// and SPUrender, and the stems render of abi/spu_stems.h. Every field a log or a host could hand the plugin comes from the input,
// including the out-of-range ones (negative counts, addresses beyond 32 bits, odd byte counts).

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "abi/spu_plugin.h"
#include "abi/spu_registers.h"
#include "abi/spu_stems.h"
#include "plugin/dynamic_library.h"
#include "plugin/freeze_block.h"
#include "plugin/spu_plugin_api.h"

namespace {

// Hands out the input's bytes as numbers; zeros once it is used up.
class Input {
 public:
  Input(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
  bool Empty() const { return used_ >= size_; }
  std::uint8_t U8() { return used_ < size_ ? data_[used_++] : 0; }
  std::uint16_t U16() { return static_cast<std::uint16_t>(U8() | (U8() << 8)); }
  std::uint32_t U32() { return U16() | (std::uint32_t{U16()} << 16); }
  // Up to `size` bytes into `out`; the rest of `out` stays as it is.
  void Fill(std::uint8_t* out, std::size_t size) {
    const std::size_t n = std::min(size, size_ - std::min(used_, size_));
    if (n > 0) std::memcpy(out, data_ + used_, n);
    used_ += n;
  }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t used_ = 0;
};

const kestrel::DynamicLibrary& Library() {
  static kestrel::DynamicLibrary library = kestrel::DynamicLibrary::Open(KESTREL_SPU_PLUGIN_PATH);
  if (!library.IsLoaded()) std::abort();
  return library;
}

const kestrel::SpuPluginApi& Plugin() {
  static kestrel::SpuPluginApi api = kestrel::BindSpuPluginApi(Library());
  return api;
}

// Mostly SPU ports (so the registers get exercised), sometimes any 64-bit address.
unsigned long Address(Input& in) {
  const std::uint8_t kind = in.U8();
  if (kind < 0xF0) return kestrel::spu_reg::kBase + (in.U16() & 0x3FFu);
  return (std::uint64_t{in.U32()} << 32) | in.U32();
}

constexpr std::size_t kBufferBytes = 4 * kestrel::kSoundRamSize;  // DMA up to twice around sound RAM

// A count that is usually small, sometimes large (up to `most`) or negative.
int Count(Input& in, int typical, std::size_t most) {
  const std::uint8_t kind = in.U8();
  if (kind < 0xE0) return in.U16() % (typical + 1);
  if (kind < 0xF0) return -static_cast<int>(in.U16());
  return static_cast<int>(in.U32() % (most + 1));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const kestrel::SpuPluginApi& spu = Plugin();
  static const auto renderStems =
      Library().Entry<kestrel::stems_abi::RenderStems>(kestrel::stems_abi::kRenderStemsName);
  Input in(data, size);
  spu.SPUinit();
  // Kept from run to run: fresh pages for half a megabyte cost more than the run itself.
  static std::vector<std::uint8_t> buffer(kBufferBytes);
  static const auto block = kestrel::MakeFreezeBlock();
  std::memset(block.get(), 0, sizeof *block);
  // Rendering is the costly call: a bounded number of frames per input keeps each run quick
  // (a few thousand frames take a voice through many blocks and the reverb through its area).
  long framesLeft = 8192;

  for (int step = 0; step < 256 && !in.Empty(); ++step) {
    switch (in.U8() % 13) {
      case 0: {
        const unsigned long address = Address(in);
        spu.SPUwriteRegister(address, in.U16());
        break;
      }
      case 1:
        (void)spu.SPUreadRegister(Address(in));
        break;
      case 2: {
        const int count = Count(in, 4096, kBufferBytes / 2);
        if (count > 0) in.Fill(buffer.data(), 2 * static_cast<std::size_t>(count));
        spu.SPUwriteDMAMem(reinterpret_cast<unsigned short*>(buffer.data()), count);
        break;
      }
      case 3:
        spu.SPUreadDMAMem(reinterpret_cast<unsigned short*>(buffer.data()), Count(in, 4096, kBufferBytes / 2));
        break;
      case 4: {  // an XA block: frequency, stereo flag and sample count first, then the samples
        std::fill_n(buffer.begin(), kestrel::kXaBlockSize, 0);
        in.Fill(buffer.data(), 16);
        in.Fill(buffer.data() + 32, in.U16() % (kestrel::kXaBlockSize - 32 + 1));
        spu.SPUplayADPCMchannel(buffer.data());
        break;
      }
      case 5: {
        const int bytes = Count(in, 16384, kBufferBytes);
        if (bytes > 0) in.Fill(buffer.data(), static_cast<std::size_t>(bytes));
        spu.SPUplayCDDAchannel(reinterpret_cast<short*>(buffer.data()), bytes);
        break;
      }
      case 6:  // a state to load: the register image and the start of sound RAM from the input
        in.Fill(block->registers, kestrel::kRegisterImageSize);
        in.Fill(block->soundRam, in.U16());
        spu.SPUfreeze(0, block.get());
        break;
      case 7:
        spu.SPUfreeze(in.U8() % 4, block.get());
        break;
      case 8:
        spu.SPUfreeze((std::uint64_t{in.U32()} << 32) | in.U32(), block.get());
        break;
      case 9: {
        const unsigned long frames = std::min<long>(in.U16() % 2048, framesLeft);
        framesLeft -= static_cast<long>(frames);
        spu.SPUasync(frames * kestrel::kCyclesPerSample + in.U16() % kestrel::kCyclesPerSample);
        break;
      }
      case 10: {
        int bytes = Count(in, 4096, kBufferBytes);
        bytes = static_cast<int>(std::min<long>(bytes, 4 * framesLeft));
        if (bytes > 0) framesLeft -= bytes / 4;
        spu.SPUrender(buffer.data(), bytes);
        break;
      }
      case 11:
        spu.SPUshutdown();
        if (in.U8() & 1) spu.SPUinit();  // calls without an instance must be harmless too
        break;
      case 12: {  // the tracks beside the frames: kTrackCount times the frames' room
        static std::vector<short> tracks(kestrel::stems_abi::kTrackCount * 4096 / 2);
        int bytes = Count(in, 4096, 4096);
        bytes = static_cast<int>(std::min<long>(bytes, 4 * framesLeft));
        if (bytes > 0) framesLeft -= bytes / 4;
        renderStems(buffer.data(), bytes, tracks.data());
        break;
      }
    }
  }
  spu.SPUshutdown();
  return 0;
}

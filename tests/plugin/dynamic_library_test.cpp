#include "plugin/dynamic_library.h"

#include <sys/stat.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "fakes/test_plugins.h"
#include "plugin/spu_plugin_api.h"
#include "support/temp_folder.h"

namespace kestrel {
namespace {

using ::testing::HasSubstr;

TEST(BindSpuPluginApi, FindsEntryPointsByNameAndLeavesMissingOnesNull) {
  const DynamicLibrary full = DynamicLibrary::Open(test::kRecordingPlugin);
  ASSERT_TRUE(full.IsLoaded()) << full.Error();
  const SpuPluginApi api = BindSpuPluginApi(full);
  EXPECT_NE(api.SPUplayCDDAchannel, nullptr);
  EXPECT_NE(api.SPUtest, nullptr);
  EXPECT_EQ(api.PSEgetLibType(), kSpuPluginType);
  EXPECT_STREQ(api.PSEgetLibName(), "Recording SPU");

  const DynamicLibrary noAsync = DynamicLibrary::Open(test::kPluginWithoutAsync);
  EXPECT_EQ(BindSpuPluginApi(noAsync).SPUasync, nullptr);
  EXPECT_NE(BindSpuPluginApi(noAsync).SPUfreeze, nullptr);
  const DynamicLibrary other = DynamicLibrary::Open(test::kNotAPlugin);
  ASSERT_TRUE(other.IsLoaded());
  const SpuPluginApi none = BindSpuPluginApi(other);
  EXPECT_EQ(none.PSEgetLibType, nullptr);
  EXPECT_EQ(none.SPUwriteRegister, nullptr);
}

TEST(DynamicLibrary, ReportsWhyALibraryDoesNotLoad) {
  test::TempFolder folder;
  const DynamicLibrary text = DynamicLibrary::Open(folder.Write("text.so", "not an ELF file"));
  EXPECT_FALSE(text.IsLoaded());
  EXPECT_FALSE(text.Error().empty());
  EXPECT_EQ(text.Symbol("SPUinit"), nullptr);

  const DynamicLibrary broken = DynamicLibrary::Open(test::kPluginMissingDependency);
  EXPECT_FALSE(broken.IsLoaded());
  EXPECT_THAT(broken.Error(), HasSubstr("kestrel_fake_dependency"));

  EXPECT_FALSE(DynamicLibrary::Open(folder / "missing.so").IsLoaded());
  // Opening a FIFO would block for ever; a folder is no library either.
  ASSERT_EQ(::mkfifo((folder / "fifo.so").c_str(), 0600), 0);
  const DynamicLibrary fifo = DynamicLibrary::Open(folder / "fifo.so");
  EXPECT_FALSE(fifo.IsLoaded());
  EXPECT_THAT(fifo.Error(), HasSubstr("not a regular file"));
  EXPECT_THAT(DynamicLibrary::Open(folder.Path()).Error(), HasSubstr("not a regular file"));
  // A bare name is looked for where it is, not in the system's library folders.
  EXPECT_FALSE(DynamicLibrary::Open("libz.so.1").IsLoaded());
}

TEST(DynamicLibrary, OpensASystemLibraryBySoname) {
  const DynamicLibrary zlib = DynamicLibrary::OpenInstalled("libz.so.1");
  ASSERT_TRUE(zlib.IsLoaded()) << zlib.Error();
  EXPECT_NE(zlib.Symbol("zlibVersion"), nullptr);
  const DynamicLibrary missing = DynamicLibrary::OpenInstalled("libkestrel-nowhere.so.0");
  EXPECT_FALSE(missing.IsLoaded());
  EXPECT_THAT(missing.Error(), HasSubstr("libkestrel-nowhere.so.0"));
}

TEST(DynamicLibrary, MovesOwnership) {
  DynamicLibrary a = DynamicLibrary::Open(test::kRecordingPlugin);
  DynamicLibrary b = std::move(a);
  EXPECT_FALSE(a.IsLoaded());  // NOLINT(bugprone-use-after-move): checking the moved-from state
  EXPECT_TRUE(b.IsLoaded());
  EXPECT_NE(b.Symbol("SPUinit"), nullptr);
}

}  // namespace
}  // namespace kestrel

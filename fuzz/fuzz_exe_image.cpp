// Fuzzes the module-image reader (TExeImage): any input is either refused with an EVaqError or read
// into a resource list of two levels, as the header promises.
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz_input_file.h"
#include "host/core/errors.h"
#include "host/core/exe_image.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view image(reinterpret_cast<const char*>(data), size);
  try {
    const vaq::TExeImage exe("fuzz.exe", image);
    for (const vaq::TResourceItem& type : exe.GetResourceList()) {
      if (!type.IsDirectory) vaq::fuzzing::Fail("fuzz_exe_image", "a resource type that is no directory");
      for (const vaq::TResourceItem& item : type.List)
        if (item.IsDirectory || !item.List.empty())
          vaq::fuzzing::Fail("fuzz_exe_image", "a resource of type " + type.Name + " has a third level");
    }
  } catch (const vaq::EVaqError&) {
  }
  return 0;
}

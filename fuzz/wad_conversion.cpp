// libFuzzer entry: plans and writes the conversion of arbitrary bytes. Besides the sanitizers'
// checks, a plan that succeeds must be written from the unchanged input without a fault and give
// exactly the number of bytes it announced.

#include <cstdint>
#include <cstdlib>

#include "wadconv/conversion.h"

namespace {

class CountingSink : public wadconv::ByteSink {
 public:
  void Put(wadconv::Bytes bytes) override { count += bytes.size(); }
  std::uint64_t count = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  wadconv::MemorySource input(wadconv::Bytes(data, size));
  const wadconv::ConversionPlan plan = wadconv::PlanConversion(input);
  CountingSink sink;
  const wadconv::Fault fault = wadconv::WriteConversion(plan, input, sink);
  const bool written = plan.kind != wadconv::ConversionKind::kFailed;
  if (fault || sink.count != (written ? plan.outputBytes : 0)) {
    std::abort();
  }
  return 0;
}

// The library-side layer against a minimal host of the test's own: what the dispatch entry does
// with each request, how exceptions become error services, and the edges of parameter reading.
// (The same layer runs end to end through foxhost in tests/host.)
#include "foxlib.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <new>
#include <stdexcept>
#include <string>

// Requests name only the fields they use; the rest are zero, as a host leaves them.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

namespace {

struct FakeHost {
  std::map<FoxHandle, std::string> blocks;
  FoxHandle next = 1;
  int32_t errorNumber = 0;
  std::string userError;
  bool refuseAllocations = false;
  bool refuseReturns = false;

  static int32_t serve(void *context, FoxServiceArgs *a) {
    auto &h = *static_cast<FakeHost *>(context);
    const auto block = h.blocks.find(a->handle);
    const bool known = block != h.blocks.end();
    switch (a->code) {
      case FOX_HANDLE_ALLOC:
        a->handle = h.refuseAllocations ? 0 : h.next++;
        if (a->handle) h.blocks[a->handle] = std::string(static_cast<size_t>(a->a), '\0');
        return 0;
      case FOX_HANDLE_FREE:
        return h.blocks.erase(a->handle) ? 0 : 1;
      case FOX_HANDLE_POINTER:
      case FOX_HANDLE_SIZE:
        if (!known) return 1;
        a->pointer = block->second.data();
        a->result = static_cast<int32_t>(block->second.size());
        return 0;
      case FOX_RET_VALUE:
        return h.refuseReturns ? 7 : 0;
      case FOX_ERROR:
        h.errorNumber = a->a;
        break;
      case FOX_USER_ERROR:
        h.userError.assign(a->text, a->textLength);
        break;
    }
    return 0;
  }
};

int g_routineParams = -1;

const FoxInfo kRows[] = {
    {"RUNTIME", [](FoxParamBlock *) { throw std::runtime_error("runtime fault"); }, 0, ""},
    {"BADALLOC", [](FoxParamBlock *) { throw std::bad_alloc(); }, 0, ""},
    {"INT", [](FoxParamBlock *) { throw 42; }, 0, ""},
    {"ALLOC", [](FoxParamBlock *) { fox::WorkHandle h(100); }, 0, ""},
    {"COUNT", [](FoxParamBlock *pb) { g_routineParams = pb->pCount; }, 0, ""}};
const FoxTable kTable = {nullptr, 5, kRows};

class FoxLib : public ::testing::Test {
 protected:
  // Dispatches `r` and returns it with the answer.
  static FoxRequest send(FoxRequest r) {
    fox::dispatch(&r, kTable);
    return r;
  }

  FakeHost host;
  const FoxRequest started = send({.hostService = &FakeHost::serve, .hostContext = &host});
};

// Each way a function can fail reaches the host as the error service it calls for.
TEST_F(FoxLib, ExceptionsBecomeErrorServices) {
  struct Case {
    int32_t index;
    bool refuseAllocations;
    int32_t status, errorNumber;
    const char *userError;
  };
  for (const Case &c : {
           Case{0, false, 0, 0, "runtime fault"},
           Case{1, false, 0, FOX_ERR_NO_MEMORY, ""},
           Case{2, false, 0, 0, "internal error in library"},
           Case{3, true, 0, FOX_ERR_NO_MEMORY, ""},
           Case{5, false, 1, 0, ""},  // no such row
           Case{-1, false, 1, 0, ""},
       }) {
    host = FakeHost{.refuseAllocations = c.refuseAllocations};
    EXPECT_EQ(send({.code = FOX_REQ_CALL, .index = c.index}).status, c.status) << c.index;
    EXPECT_EQ(host.errorNumber, c.errorNumber) << c.index;
    EXPECT_EQ(host.userError, c.userError) << c.index;
  }
}

TEST_F(FoxLib, RequestsOtherThanCalls) {
  // Start-up and the table request both answer with the table and the interface version.
  for (const FoxRequest &answer : {started, send({.code = FOX_REQ_TABLE})}) {
    EXPECT_EQ(answer.status, 0);
    EXPECT_EQ(answer.table, &kTable);
    EXPECT_EQ(answer.version, FOX_INTERFACE_VERSION);
  }
  const FoxHandle handle = send({.code = FOX_REQ_ALLOC, .size = 8}).handle;
  ASSERT_NE(handle, 0u);
  EXPECT_EQ(send({.code = FOX_REQ_POINTER, .handle = handle}).pointer, host.blocks[handle].data());
  send({.code = FOX_REQ_FREE, .handle = handle});
  EXPECT_TRUE(host.blocks.empty());
  host.refuseAllocations = true;
  EXPECT_EQ(send({.code = FOX_REQ_ALLOC, .size = 8}).status, FOX_ERR_NO_MEMORY);
  EXPECT_EQ(send({.code = 99}).status, 1);
  fox::dispatch(nullptr, kTable);  // ignored, no crash

  // A routine runs with the parameters given, or none; without a routine the request fails.
  FoxParamBlock pb{.pCount = 2};
  const FoxFunction count = kRows[4].function;
  send({.code = FOX_REQ_CALL_ROUTINE, .routine = count, .params = &pb});
  EXPECT_EQ(g_routineParams, 2);
  send({.code = FOX_REQ_CALL_ROUTINE_NOARGS, .routine = count, .params = &pb});
  EXPECT_EQ(g_routineParams, 0);
  EXPECT_EQ(send({.code = FOX_REQ_CALL_ROUTINE, .params = &pb}).status, 1);

  // The second table: names registered, looked up and dropped.
  send({.code = FOX_REQ_REGISTER, .name = "ALPHA", .number = 7});
  EXPECT_EQ(send({.code = FOX_REQ_LOOKUP, .name = "ALPHA", .number = 99}).number, 7);
  send({.code = FOX_REQ_DROP, .name = "ALPHA"});
  EXPECT_EQ(send({.code = FOX_REQ_LOOKUP, .name = "ALPHA", .number = 99}).number, 0);
  EXPECT_EQ(send({.code = FOX_REQ_REGISTER, .number = 7}).status, 1);
}

TEST_F(FoxLib, ParameterEdges) {
  const FoxHandle abc = 100;
  host.blocks[abc] = "abc";
  const FoxParamBlock pb{4,
                         {{.ev_type = 'N', .ev_real = 5e12},
                          {.ev_type = 'N', .ev_real = std::nan("")},
                          {.ev_type = 'I', .ev_long = -9},
                          // claims more than the block holds
                          {.ev_type = 'C', .ev_length = 1000, .ev_handle = abc}}};
  const fox::Params p(&pb);
  EXPECT_EQ(p.integer(0), INT32_MAX);
  EXPECT_EQ(p.integer(1), INT32_MIN);
  EXPECT_EQ(p.number(2), -9);
  EXPECT_EQ(p.text(3), "abc");  // never read past the block
  EXPECT_FALSE(p.has(4));
  EXPECT_EQ(p.text(4), "");
  EXPECT_EQ(p.integer(3), 0);  // a text read as an integer
  EXPECT_EQ(fox::Params(nullptr).count(), 0);
  fox::freeHandle(abc);

  fox::returnText("kept");  // accepted: the block now belongs to the host
  ASSERT_EQ(host.blocks.size(), 1u);
  EXPECT_EQ(host.blocks.begin()->second, "kept");
  host.refuseReturns = true;
  try {
    fox::returnText("refused");
    ADD_FAILURE() << "no error";
  } catch (const fox::HostError &e) {
    EXPECT_EQ(e.number, 7);
  }
  EXPECT_EQ(host.blocks.size(), 1u);  // the refused result's block was freed
}

TEST(FoxLibClock, VirtualClockAdvancesByItsStepAndWraps) {
  FoxVirtualClock c{(uint64_t{1} << 32) * 1000u - 2000u, 1000};
  fox::clock::useVirtual(&c);
  EXPECT_TRUE(fox::clock::isVirtual());
  EXPECT_EQ(fox::clock::nowMillis(), 0xFFFFFFFFu);
  EXPECT_EQ(fox::clock::nowMillis(), 0u);  // a tick counter wraps modulo 2^32
  EXPECT_EQ(c.nowMicros, (uint64_t{1} << 32) * 1000u);
  fox::clock::useVirtual(nullptr);
  const uint64_t a = fox::clock::nowMicros();
  EXPECT_GE(fox::clock::nowMicros(), a);
}

}  // namespace

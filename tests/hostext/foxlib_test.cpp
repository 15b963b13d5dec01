// The library-side layer against a minimal host of the test's own: what the dispatch entry does
// with each request, how exceptions become error services, and the edges of parameter reading.
// (The same layer runs end to end through foxhost in tests/host.)
#include "foxlib.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <map>
#include <new>
#include <stdexcept>
#include <string>

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
    const bool known = h.blocks.count(a->handle) != 0;
    switch (a->code) {
      case FOX_HANDLE_ALLOC:
        a->handle = h.refuseAllocations ? 0 : h.next++;
        if (a->handle) h.blocks[a->handle] = std::string(static_cast<size_t>(a->a), '\0');
        return 0;
      case FOX_HANDLE_FREE:
        return h.blocks.erase(a->handle) ? 0 : 1;
      case FOX_HANDLE_POINTER:
        if (known) a->pointer = h.blocks[a->handle].data();
        return known ? 0 : 1;
      case FOX_HANDLE_SIZE:
        if (known) a->result = static_cast<int32_t>(h.blocks[a->handle].size());
        return known ? 0 : 1;
      case FOX_RET_VALUE:
        return h.refuseReturns ? 7 : 0;
      case FOX_ERROR:
        h.errorNumber = a->a;
        return 0;
      case FOX_USER_ERROR:
        h.userError.assign(a->text, a->textLength);
        return 0;
      default:
        return 0;
    }
  }
};

void throwsRuntime(FoxParamBlock *) { throw std::runtime_error("runtime fault"); }
void throwsBadAlloc(FoxParamBlock *) { throw std::bad_alloc(); }
void throwsInt(FoxParamBlock *) { throw 42; }
void allocatesTooMuch(FoxParamBlock *) { fox::WorkHandle h(100); }
int g_routineParams = -1;
void routine(FoxParamBlock *pb) { g_routineParams = pb->pCount; }

const FoxInfo kRows[] = {{"RUNTIME", throwsRuntime, 0, ""},
                         {"BADALLOC", throwsBadAlloc, 0, ""},
                         {"INT", throwsInt, 0, ""},
                         {"ALLOC", allocatesTooMuch, 0, ""}};
const FoxTable kTable = {nullptr, 4, kRows};

class FoxLib : public ::testing::Test {
 protected:
  FoxLib() {
    FoxRequest r{};
    r.hostService = &FakeHost::serve;
    r.hostContext = &host;
    const FoxRequest answer = dispatch(FOX_REQ_STARTUP, r);
    EXPECT_EQ(answer.status, 0);
    EXPECT_EQ(answer.table, &kTable);
    EXPECT_EQ(answer.version, FOX_INTERFACE_VERSION);
  }

  // Dispatches `r` as a request of `code`, and returns it with the answer.
  static FoxRequest dispatch(int32_t code, FoxRequest r = {}) {
    r.code = code;
    fox::dispatch(&r, kTable);
    return r;
  }

  FakeHost host;
};

TEST_F(FoxLib, ExceptionsBecomeErrorServices) {
  FoxRequest call{};
  EXPECT_EQ(dispatch(FOX_REQ_CALL, call).status, 0);
  EXPECT_EQ(host.userError, "runtime fault");
  call.index = 1;
  dispatch(FOX_REQ_CALL, call);
  EXPECT_EQ(host.errorNumber, FOX_ERR_NO_MEMORY);
  call.index = 2;
  dispatch(FOX_REQ_CALL, call);
  EXPECT_EQ(host.userError, "internal error in library");
  host.errorNumber = 0;
  host.refuseAllocations = true;
  call.index = 3;
  dispatch(FOX_REQ_CALL, call);
  EXPECT_EQ(host.errorNumber, FOX_ERR_NO_MEMORY);
  for (const int32_t index : {4, -1}) {  // no such row
    call.index = index;
    EXPECT_EQ(dispatch(FOX_REQ_CALL, call).status, 1);
  }
}

TEST_F(FoxLib, RequestsOtherThanCalls) {
  EXPECT_EQ(dispatch(FOX_REQ_TABLE).table, &kTable);
  FoxRequest block{};
  block.size = 8;
  block.handle = dispatch(FOX_REQ_ALLOC, block).handle;
  ASSERT_NE(block.handle, 0u);
  EXPECT_EQ(dispatch(FOX_REQ_POINTER, block).pointer, host.blocks[block.handle].data());
  dispatch(FOX_REQ_FREE, block);
  EXPECT_TRUE(host.blocks.empty());
  host.refuseAllocations = true;
  EXPECT_EQ(dispatch(FOX_REQ_ALLOC, block).status, FOX_ERR_NO_MEMORY);
  EXPECT_EQ(dispatch(99).status, 1);
  fox::dispatch(nullptr, kTable);  // ignored, no crash

  FoxParamBlock pb{};
  pb.pCount = 2;
  FoxRequest r{};
  r.routine = routine;
  r.params = &pb;
  dispatch(FOX_REQ_CALL_ROUTINE, r);
  EXPECT_EQ(g_routineParams, 2);
  dispatch(FOX_REQ_CALL_ROUTINE_NOARGS, r);
  EXPECT_EQ(g_routineParams, 0);
  r.routine = nullptr;
  EXPECT_EQ(dispatch(FOX_REQ_CALL_ROUTINE, r).status, 1);

  // The second table: names registered, looked up and dropped.
  FoxRequest name{};
  name.name = "ALPHA";
  name.number = 7;
  dispatch(FOX_REQ_REGISTER, name);
  name.number = 99;
  EXPECT_EQ(dispatch(FOX_REQ_LOOKUP, name).number, 7);
  dispatch(FOX_REQ_DROP, name);
  EXPECT_EQ(dispatch(FOX_REQ_LOOKUP, name).number, 0);
  name.name = nullptr;
  EXPECT_EQ(dispatch(FOX_REQ_REGISTER, name).status, 1);
}

TEST_F(FoxLib, ParameterEdges) {
  FoxParamBlock pb{};
  pb.pCount = 4;
  pb.p[0].ev_type = 'N';
  pb.p[0].ev_real = 5e12;
  pb.p[1].ev_type = 'N';
  pb.p[1].ev_real = std::nan("");
  pb.p[2].ev_type = 'I';
  pb.p[2].ev_long = -9;
  FoxServiceArgs alloc{};
  alloc.code = FOX_HANDLE_ALLOC;
  alloc.a = 3;
  fox::callHost(alloc);
  std::memcpy(host.blocks[alloc.handle].data(), "abc", 3);
  pb.p[3].ev_type = 'C';
  pb.p[3].ev_handle = alloc.handle;
  pb.p[3].ev_length = 1000;  // claims more than the block holds
  const fox::Params p(&pb);
  EXPECT_EQ(p.integer(0), INT32_MAX);
  EXPECT_EQ(p.integer(1), INT32_MIN);
  EXPECT_EQ(p.number(2), -9);
  EXPECT_EQ(p.text(3), "abc");  // never read past the block
  EXPECT_FALSE(p.has(4));
  EXPECT_EQ(p.text(4), "");
  EXPECT_EQ(p.integer(3), 0);  // a text read as an integer
  EXPECT_EQ(fox::Params(nullptr).count(), 0);
  fox::freeHandle(alloc.handle);

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

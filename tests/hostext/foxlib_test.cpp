// The library-side layer against a minimal host of the test's own: what the dispatch entry does
// with each request, how exceptions become error services, and the edges of parameter reading.
// (The same layer is exercised end to end through foxhost in tests/host.)
#include "foxlib.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <map>
#include <new>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

struct FakeHost {
  std::map<FoxHandle, std::string> blocks;
  FoxHandle next = 1;
  std::vector<int32_t> codes;  // every service asked for, in order
  int32_t errorNumber = 0;
  std::string userError;
  bool refuseAllocations = false;
  bool refuseReturns = false;

  static int32_t serve(void *context, FoxServiceArgs *a) {
    auto &h = *static_cast<FakeHost *>(context);
    h.codes.push_back(a->code);
    switch (a->code) {
      case FOX_HANDLE_ALLOC:
        a->handle = h.refuseAllocations ? 0 : h.next++;
        if (a->handle) h.blocks[a->handle] = std::string(static_cast<size_t>(a->a), '\0');
        return 0;
      case FOX_HANDLE_FREE:
        return h.blocks.erase(a->handle) ? 0 : 1;
      case FOX_HANDLE_POINTER:
        if (!h.blocks.count(a->handle)) return 1;
        a->pointer = h.blocks[a->handle].data();
        return 0;
      case FOX_HANDLE_SIZE:
        if (!h.blocks.count(a->handle)) return 1;
        a->result = static_cast<int32_t>(h.blocks[a->handle].size());
        return 0;
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
    r.code = FOX_REQ_STARTUP;
    r.hostService = &FakeHost::serve;
    r.hostContext = &host;
    fox::dispatch(&r, kTable);
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.table, &kTable);
    EXPECT_EQ(r.version, FOX_INTERFACE_VERSION);
  }

  FoxRequest call(int index) {
    FoxRequest r{};
    r.code = FOX_REQ_CALL;
    r.index = index;
    fox::dispatch(&r, kTable);
    return r;
  }

  FakeHost host;
};

TEST_F(FoxLib, ExceptionsBecomeErrorServices) {
  EXPECT_EQ(call(0).status, 0);
  EXPECT_EQ(host.userError, "runtime fault");
  call(1);
  EXPECT_EQ(host.errorNumber, FOX_ERR_NO_MEMORY);
  host.userError.clear();
  call(2);
  EXPECT_EQ(host.userError, "internal error in library");
  host.errorNumber = 0;
  host.refuseAllocations = true;
  call(3);
  EXPECT_EQ(host.errorNumber, FOX_ERR_NO_MEMORY);
}

TEST_F(FoxLib, RequestsOtherThanCalls) {
  EXPECT_EQ(call(4).status, 1);  // no such row
  EXPECT_EQ(call(-1).status, 1);
  FoxRequest table{};
  table.code = FOX_REQ_TABLE;
  fox::dispatch(&table, kTable);
  EXPECT_EQ(table.table, &kTable);
  FoxRequest alloc{};
  alloc.code = FOX_REQ_ALLOC;
  alloc.size = 8;
  fox::dispatch(&alloc, kTable);
  ASSERT_NE(alloc.handle, 0u);
  FoxRequest pointer{};
  pointer.code = FOX_REQ_POINTER;
  pointer.handle = alloc.handle;
  fox::dispatch(&pointer, kTable);
  EXPECT_EQ(pointer.pointer, host.blocks[alloc.handle].data());
  FoxRequest free{};
  free.code = FOX_REQ_FREE;
  free.handle = alloc.handle;
  fox::dispatch(&free, kTable);
  EXPECT_TRUE(host.blocks.empty());
  host.refuseAllocations = true;
  fox::dispatch(&alloc, kTable);
  EXPECT_EQ(alloc.status, FOX_ERR_NO_MEMORY);
  FoxRequest unknown{};
  unknown.code = 99;
  fox::dispatch(&unknown, kTable);
  EXPECT_EQ(unknown.status, 1);
  fox::dispatch(nullptr, kTable);  // ignored, no crash
}

TEST_F(FoxLib, RoutinesWithAndWithoutParameters) {
  FoxParamBlock pb{};
  pb.pCount = 2;
  FoxRequest r{};
  r.code = FOX_REQ_CALL_ROUTINE;
  r.routine = routine;
  r.params = &pb;
  fox::dispatch(&r, kTable);
  EXPECT_EQ(g_routineParams, 2);
  r.code = FOX_REQ_CALL_ROUTINE_NOARGS;
  fox::dispatch(&r, kTable);
  EXPECT_EQ(g_routineParams, 0);
  r.routine = nullptr;
  fox::dispatch(&r, kTable);
  EXPECT_EQ(r.status, 1);
}

TEST_F(FoxLib, SecondTableRegistersDropsAndLooksUp) {
  FoxRequest r{};
  r.code = FOX_REQ_REGISTER;
  r.name = "ALPHA";
  r.number = 7;
  fox::dispatch(&r, kTable);
  r = FoxRequest{};
  r.code = FOX_REQ_LOOKUP;
  r.name = "ALPHA";
  fox::dispatch(&r, kTable);
  EXPECT_EQ(r.number, 7);
  r.code = FOX_REQ_DROP;
  fox::dispatch(&r, kTable);
  r.code = FOX_REQ_LOOKUP;
  r.number = 99;
  fox::dispatch(&r, kTable);
  EXPECT_EQ(r.number, 0);
  r.code = FOX_REQ_REGISTER;
  r.name = nullptr;
  fox::dispatch(&r, kTable);
  EXPECT_EQ(r.status, 1);
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
}

TEST_F(FoxLib, ReturnTextHandsItsHandleToTheHostOnlyWhenAccepted) {
  const auto before = host.blocks.size();
  fox::returnText("kept");  // accepted: the block now belongs to the host
  ASSERT_EQ(host.blocks.size(), before + 1);
  EXPECT_EQ(host.blocks.rbegin()->second, "kept");
  host.refuseReturns = true;
  int32_t raised = 0;
  try {
    fox::returnText("refused");
  } catch (const fox::HostError &e) {
    raised = e.number;
  }
  EXPECT_EQ(raised, 7);
  EXPECT_EQ(host.blocks.size(), before + 1);  // the refused result's block was freed
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

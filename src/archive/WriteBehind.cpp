#include "archive/WriteBehind.h"

#include "archive/ArchiveFormat.h"

namespace vnt {

namespace {
// About what writing a block or inflating one takes.
constexpr std::chrono::microseconds SpinTime{1500};
}  // namespace

template <class TReady>
void TWriteBehind::Await(std::unique_lock<std::mutex>& lock, std::condition_variable& condition, TReady ready) {
  if (ready()) return;
  lock.unlock();
  auto until = std::chrono::steady_clock::now() + SpinTime;
  while (!ready() && std::chrono::steady_clock::now() < until) std::this_thread::yield();
  lock.lock();
  condition.wait(lock, ready);
}

TWriteBehind::TWriteBehind(size_t blockSize, size_t blocks) : BlockSize(blockSize), MaxBlocks(blocks ? blocks : 1) {
  // The thread hands blocks back without allocating, so it cannot fail on the way.
  Spare.reserve(MaxBlocks);
}

TWriteBehind::~TWriteBehind() {
  Abandon();
  {
    std::lock_guard<std::mutex> lock(Lock);
    Stopping = true;
  }
  WorkReady.notify_all();
  if (Thread.joinable()) Thread.join();
}

void TWriteBehind::Begin(TArchiveOutput& output) {
  Abandon();
  Output = &output;
}

std::span<uint8_t> TWriteBehind::Room(size_t need) {
  if (!Current.Data) {
    std::unique_lock<std::mutex> lock(Lock);
    Current = TakeBlock(lock);
  }
  if (BlockSize - Current.Used < need) Send();
  return {Current.Data.get() + Current.Used, BlockSize - Current.Used};
}

// Most members fit one block: they are written here, in one piece, and the thread is not
// bothered (or even started).
void TWriteBehind::Finish() {
  if (!Output) return;
  if (!Handed) {
    WriteHere();
    Output = nullptr;
    return;
  }
  std::unique_lock<std::mutex> lock(Lock);
  if (Current.Used > 0 && !Failed) {
    Queue.push_back(std::move(Current));
    ++Handing;
    WorkReady.notify_one();
  }
  WaitUntilIdle(lock);
  if (Failed) RaiseFailure(lock);
  Current.Used = 0;
  Output = nullptr;
  Handed = false;
}

void TWriteBehind::Abandon() noexcept {
  Current.Used = 0;
  if (!Output) return;
  std::unique_lock<std::mutex> lock(Lock);
  for (TBlock& block : Queue) Spare.push_back(std::move(block));
  Handing -= Queue.size();
  Queue.clear();
  WaitUntilIdle(lock);
  Failed = false;
  Failure.clear();
  Output = nullptr;
  Handed = false;
}

void TWriteBehind::Send() {
  if (!Thread.joinable() && !StartThread()) {
    WriteHere();
    return;
  }
  std::unique_lock<std::mutex> lock(Lock);
  if (Failed) RaiseFailure(lock);
  Queue.push_back(std::move(Current));
  ++Handing;
  Handed = true;
  WorkReady.notify_one();
  Current = TakeBlock(lock);
}

void TWriteBehind::WriteHere() {
  if (Current.Used > 0) Output->Write(Current.Data.get(), Current.Used);
  Current.Used = 0;
}

// Without a thread the blocks are written in turn, as they fill.
bool TWriteBehind::StartThread() {
  try {
    Thread = std::thread([this] { Work(); });
    return true;
  } catch (const std::system_error&) {
    return false;
  }
}

// Nothing leaves this thread but the text of a failed write, which the reader raises.
void TWriteBehind::Work() {
  std::unique_lock<std::mutex> lock(Lock);
  for (;;) {
    Await(lock, WorkReady, [this] { return Stopping || Handing > 0; });
    if (Queue.empty()) return;
    TBlock block = std::move(Queue.front());
    Queue.pop_front();
    TArchiveOutput* output = Output;
    bool skip = Failed;
    lock.unlock();
    bool failed = false;
    std::string failure;
    if (!skip) {
      try {
        output->Write(block.Data.get(), block.Used);
      } catch (const std::exception& e) {
        failed = true;
        failure = e.what();
      } catch (...) {
        failed = true;
      }
    }
    lock.lock();
    if (failed) {
      Failed = true;
      Failure = std::move(failure);
    }
    block.Used = 0;
    Spare.push_back(std::move(block));
    --Handing;
    WorkDone.notify_all();
  }
}

TWriteBehind::TBlock TWriteBehind::TakeBlock(std::unique_lock<std::mutex>& lock) {
  if (Spare.empty() && BlocksMade < MaxBlocks) {
    ++BlocksMade;
    return {std::unique_ptr<uint8_t[]>(new uint8_t[BlockSize]), 0};
  }
  // Every block is out: they come back as they are written.
  Await(lock, WorkDone, [this] { return Handing < BlocksMade; });
  TBlock block = std::move(Spare.back());
  Spare.pop_back();
  return block;
}

void TWriteBehind::WaitUntilIdle(std::unique_lock<std::mutex>& lock) {
  Await(lock, WorkDone, [this] { return Handing == 0; });
}

void TWriteBehind::RaiseFailure(std::unique_lock<std::mutex>& lock) {
  std::string text = Failure.empty() ? "cannot write the output file" : Failure;
  lock.unlock();
  throw EOutputError(text);
}

}  // namespace vnt

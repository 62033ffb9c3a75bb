// A member's bytes gathered into large blocks; once a member fills more than one block, the
// blocks are written on a thread of their own, so the disk takes one block while the reader
// inflates the next. Bounded: a few blocks in all, whatever the member's size.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <span>
#include <string>
#include <thread>
#include <vector>

#include "archive/ArchiveFileSystem.h"

namespace vnt {

class TWriteBehind {
public:
  // blocks counts the one being filled; at least two for the thread to be of use.
  TWriteBehind(size_t blockSize, size_t blocks);
  // Ends the thread; a member still open is abandoned.
  ~TWriteBehind();
  TWriteBehind(const TWriteBehind&) = delete;
  TWriteBehind& operator=(const TWriteBehind&) = delete;

  // The member's bytes go to output, which must stay open until Finish or Abandon.
  void Begin(TArchiveOutput& output);
  // Room for at least need bytes (need <= the block size); a block without that room goes to
  // the writer first. Raises EOutputError when the writer failed.
  std::span<uint8_t> Room(size_t need);
  // count bytes of the room just given are filled.
  void Filled(size_t count) { Current.Used += count; }
  // Every byte of the member is written when this returns; raises EOutputError when a write
  // failed. The output is left alone afterwards.
  void Finish();
  // The writer lets go of the output; bytes not written yet are dropped. Never raises.
  void Abandon() noexcept;

private:
  struct TBlock {
    std::unique_ptr<uint8_t[]> Data;
    size_t Used = 0;
  };

  void Send();
  void WriteHere();
  bool StartThread();
  void Work();
  TBlock TakeBlock(std::unique_lock<std::mutex>& lock);
  void WaitUntilIdle(std::unique_lock<std::mutex>& lock);
  // Waits under the lock until ready: first a short while by giving the processor away,
  // then on the condition. Waking a thread that sleeps on a condition costs a round trip to
  // the system each time, and most waits here are shorter than that.
  template <class TReady>
  void Await(std::unique_lock<std::mutex>& lock, std::condition_variable& condition, TReady ready);
  [[noreturn]] void RaiseFailure(std::unique_lock<std::mutex>& lock);

  const size_t BlockSize, MaxBlocks;
  size_t BlocksMade = 0;
  TArchiveOutput* Output = nullptr;
  TBlock Current;
  bool Handed = false;  // a block of this member went to the thread

  std::mutex Lock;
  std::condition_variable WorkReady, WorkDone;
  std::deque<TBlock> Queue;
  std::vector<TBlock> Spare;
  // Blocks handed to the thread and not back yet, queued or being written; read without the
  // lock while waiting, changed only with it.
  std::atomic<size_t> Handing{0};
  std::atomic<bool> Stopping{false};
  bool Failed = false;
  std::string Failure;
  std::thread Thread;
};

}  // namespace vnt

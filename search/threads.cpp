// Helper threads: each waits for a job number to change, searches the root it
// was handed until told to stop, then reports itself idle. The job number,
// the busy count and the exit flag are guarded by one mutex, so everything
// the main thread wrote into a helper's search object before a start is
// seen by the helper, and everything the helper wrote is seen by the main
// thread once stop_helpers returns.
#include "search/threads.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <cstring>
#include <memory>
#include <mutex>
#include <new>
#include <system_error>
#include <thread>
#include <vector>

#include "core/output.h"
#include "search/context.h"
#include "search/root.h"
#include "search/search.h"

namespace torvek {

namespace {

// Nodes between two looks of a helper at the stop flag: well under a
// millisecond of search.
constexpr int64_t kHelperPollNodes = 1024;

struct Helper {
  int index = 0;  // 1 for the first helper
  SearchContext context;
  std::atomic<uint64_t> nodes{0};
  std::thread thread;
};

class HelperPool {
 public:
  ~HelperPool() { resize(0); }

  int size() const { return static_cast<int>(helpers_.size()); }
  // Starts helpers up to `count`; fewer wanted, it joins them all and starts
  // the ones still wanted afresh (a change of the count is rare, between
  // searches). Returns how many run.
  int resize(int count);
  void start(const SearchContext& main);
  void stop();
  double nodes() const;
  void forget_nodes() { counted_ = false; }
  void poll(SearchContext& sc);

 private:
  void run(Helper* helper, uint64_t seen);
  bool add_helper();

  std::mutex mutex_;
  std::condition_variable wake_, idle_;
  std::vector<std::unique_ptr<Helper>> helpers_;
  uint64_t job_ = 0;      // guarded by mutex_
  int busy_ = 0;          // guarded by mutex_
  bool exiting_ = false;  // guarded by mutex_
  std::atomic<bool> stop_{false};
  bool running_ = false;  // main thread only
  bool counted_ = false;  // helpers searched since the last forget_nodes
};

HelperPool pool;
thread_local Helper* thisHelper = nullptr;
std::atomic<int> mainIteration{0};

// `seen` is the job number when the helper was made: it waits for the next
// one, never for one that was handed out before it existed.
void HelperPool::run(Helper* helper, uint64_t seen) {
  thisHelper = helper;
  threadSearch = &helper->context;
  for (;;) {
    {
      std::unique_lock<std::mutex> lock(mutex_);
      wake_.wait(lock, [&] { return exiting_ || job_ != seen; });
      if (exiting_) return;
      seen = job_;
    }
    helper_root(helper->context, helper->index);
    helper->nodes.store(static_cast<uint64_t>(helper->context.nodes), std::memory_order_relaxed);
    std::lock_guard<std::mutex> lock(mutex_);
    if (--busy_ == 0) idle_.notify_all();
  }
}

bool HelperPool::add_helper() {
  try {
    auto helper = std::make_unique<Helper>();
    helper->index = size() + 1;
    helper->context.helper = true;
    // Only the main thread changes job_, and not during this call.
    helper->thread = std::thread(&HelperPool::run, this, helper.get(), job_);
    helpers_.push_back(std::move(helper));
    return true;
  } catch (const std::system_error& e) {
    Print("info string search thread %d cannot be started (%s); searching with %d", size() + 2,
          e.what(), size() + 1);
  } catch (const std::bad_alloc&) {
    Print("info string no memory for search thread %d; searching with %d", size() + 2, size() + 1);
  }
  return false;
}

int HelperPool::resize(int count) {
  stop();
  if (count < size()) {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      exiting_ = true;
    }
    wake_.notify_all();
    for (auto& helper : helpers_) helper->thread.join();
    helpers_.clear();
    std::lock_guard<std::mutex> lock(mutex_);
    exiting_ = false;
  }
  while (size() < count && add_helper()) {
  }
  return size();
}

void HelperPool::start(const SearchContext& main) {
  if (helpers_.empty() || running_) return;
  for (auto& helper : helpers_) {
    SearchContext& sc = helper->context;
    sc.root_board = main.root_board;
    sc.root_moves = main.root_moves;
    sc.engine_colour = main.engine_colour;
    sc.iteration = main.iteration;
    sc.nodes = 0;
    sc.poll_countdown = 0;  // the first node looks at the stop flag
    helper->nodes.store(0, std::memory_order_relaxed);
  }
  stop_.store(false, std::memory_order_relaxed);
  {
    std::lock_guard<std::mutex> lock(mutex_);
    busy_ = size();
    job_++;
  }
  wake_.notify_all();
  running_ = counted_ = true;
}

void HelperPool::stop() {
  if (!running_) return;
  stop_.store(true, std::memory_order_relaxed);
  std::unique_lock<std::mutex> lock(mutex_);
  idle_.wait(lock, [&] { return busy_ == 0; });
  running_ = false;
}

double HelperPool::nodes() const {
  if (!counted_) return 0;
  uint64_t sum = 0;
  for (const auto& helper : helpers_) sum += helper->nodes.load(std::memory_order_relaxed);
  return static_cast<double>(sum);
}

void HelperPool::poll(SearchContext& sc) {
  thisHelper->nodes.store(static_cast<uint64_t>(sc.nodes), std::memory_order_relaxed);
  sc.poll_countdown = kHelperPollNodes;
  if (stop_.load(std::memory_order_relaxed)) throw SearchAborted{};
}

}  // namespace

int set_search_threads(int count) {
  return pool.resize(std::clamp(count, 1, kMaxSearchThreads) - 1) + 1;
}

int search_threads() { return pool.size() + 1; }

void start_helpers(const SearchContext& main) { pool.start(main); }

void stop_helpers() { pool.stop(); }

void forget_helper_nodes() { pool.forget_nodes(); }

double helper_nodes() { return pool.nodes(); }

double total_nodes(const SearchContext& main) { return main.nodes + pool.nodes(); }

double total_nps(const SearchContext& main) {
  double helpers = pool.nodes();
  if (helpers == 0) return main.nps;
  return main.elapsed_ms > 500 ? (main.nodes + helpers) * 1000.0 / main.elapsed_ms : 0;
}

void helper_poll(SearchContext& helper) { pool.poll(helper); }

void publish_main_iteration(int iteration) {
  mainIteration.store(iteration, std::memory_order_relaxed);
}

int main_iteration() { return mainIteration.load(std::memory_order_relaxed); }

}  // namespace torvek

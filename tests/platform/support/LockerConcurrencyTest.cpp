#include <atomic>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include <Autolock.h>
#include <Locker.h>

namespace {

// Runs body on a thread of its own and waits for it.
template<typename Body>
void OnOtherThread(Body body)
{
	std::thread thread(body);
	thread.join();
}

TEST(Locker, HolderMayLockAgainAndMustUnlockAsOften)
{
	BLocker locker("settings lock");
	EXPECT_EQ(B_OK, locker.InitCheck());

	ASSERT_TRUE(locker.Lock());
	ASSERT_TRUE(locker.Lock());
	EXPECT_TRUE(locker.IsLocked());
	EXPECT_EQ(2, locker.CountLocks());
	EXPECT_NE(-1, locker.LockingThread());

	locker.Unlock();
	EXPECT_TRUE(locker.IsLocked());
	OnOtherThread([&] {
		EXPECT_EQ(B_TIMED_OUT, locker.LockWithTimeout(0));
	});

	locker.Unlock();
	EXPECT_FALSE(locker.IsLocked());
	EXPECT_EQ(-1, locker.LockingThread());
	OnOtherThread([&] {
		EXPECT_EQ(B_OK, locker.LockWithTimeout(0));
		locker.Unlock();
	});
}

// Another thread sees the lock as held but not by itself, cannot take it
// in time, and cannot release it for the holder.
TEST(Locker, OnlyTheHolderCountsAsHoldingAndMayUnlock)
{
	BLocker locker("held");
	ASSERT_TRUE(locker.Lock());
	thread_id holder = locker.LockingThread();

	OnOtherThread([&] {
		EXPECT_FALSE(locker.IsLocked());
		EXPECT_EQ(holder, locker.LockingThread());
		EXPECT_EQ(B_TIMED_OUT, locker.LockWithTimeout(1000));
		locker.Unlock();
	});

	EXPECT_TRUE(locker.IsLocked());
	EXPECT_EQ(1, locker.CountLocks());
	locker.Unlock();
	// One unlock too many changes nothing.
	locker.Unlock();
	EXPECT_EQ(0, locker.CountLocks());
	EXPECT_TRUE(locker.Lock());
	locker.Unlock();
}

TEST(Locker, WaiterGetsTheLockWhenItIsReleased)
{
	BLocker locker("handover");
	ASSERT_TRUE(locker.Lock());
	std::atomic<bool> acquired(false);

	std::thread waiter([&] {
		EXPECT_TRUE(locker.Lock());
		acquired = true;
		EXPECT_TRUE(locker.IsLocked());
		locker.Unlock();
	});
	while (locker.CountLockRequests() < 2) {
		std::this_thread::yield();
	}
	EXPECT_FALSE(acquired);
	locker.Unlock();
	waiter.join();
	EXPECT_TRUE(acquired);
	EXPECT_EQ(0, locker.CountLockRequests());
}

// Many threads update plain data under the lock, partly recursively and
// through BAutolock; a lock that let two in at once loses updates (and
// the thread sanitizer reports the race).
TEST(Locker, ExcludesOtherThreads)
{
	const int kThreads = 4;
	const int kRounds = 2000;
	BLocker locker("counter");
	long counter = 0;
	long largestSeen = 0;

	std::vector<std::thread> threads;
	for (int i = 0; i < kThreads; i++) {
		threads.emplace_back([&] {
			for (int round = 0; round < kRounds; round++) {
				BAutolock outer(locker);
				ASSERT_TRUE(outer.IsLocked());
				long seen = counter;
				if (round % 2 == 0) {
					BAutolock inner(&locker);
					counter = seen + 1;
				} else {
					counter = seen + 1;
				}
				if (counter > largestSeen) {
					largestSeen = counter;
				}
			}
		});
	}
	for (std::thread &thread : threads) {
		thread.join();
	}
	EXPECT_EQ((long)kThreads * kRounds, counter);
	EXPECT_EQ(counter, largestSeen);
	EXPECT_EQ(0, locker.CountLocks());
}

} // namespace

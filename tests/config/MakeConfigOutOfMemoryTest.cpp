// Making the settings view when memory runs out: each allocation that
// MakeConfig makes is failed in turn. Every failure must give B_NO_MEMORY
// with no view, free the option lock and leak nothing (the leak checker of
// the address-sanitizer build watches).
//
// This program replaces the global operator new, which the add-on, loaded
// into it, uses too.
#include <stdlib.h>

#include <atomic>
#include <chrono>
#include <future>
#include <memory>
#include <new>
#include <thread>

#include <Message.h>
#include <View.h>

#include <gtest/gtest.h>

#include "LoadedTranslator.h"

namespace {

// Only allocations of the arming thread count.
thread_local bool tArmed = false;
thread_local long tCountdown = 0;
thread_local bool tFired = false;

void Arm(long allocationsBeforeFailure)
{
	tCountdown = allocationsBeforeFailure;
	tFired = false;
	tArmed = true;
}

// Whether an allocation was failed since Arm.
bool Disarm()
{
	tArmed = false;
	return tFired;
}

} // namespace

// The whole family is replaced, so that every allocation and its release
// go through malloc and free alike.
static void *Allocate(size_t size)
{
	if (tArmed && tCountdown-- == 0) {
		tArmed = false;
		tFired = true;
		return NULL;
	}
	return malloc(size != 0 ? size : 1);
}

static void *AllocateOrThrow(size_t size)
{
	void *memory = Allocate(size);
	if (memory == NULL) {
		throw std::bad_alloc();
	}
	return memory;
}

void *operator new(size_t size)
{
	return AllocateOrThrow(size);
}

void *operator new[](size_t size)
{
	return AllocateOrThrow(size);
}

void *operator new(size_t size, const std::nothrow_t &) noexcept
{
	return Allocate(size);
}

void *operator new[](size_t size, const std::nothrow_t &) noexcept
{
	return Allocate(size);
}

void operator delete(void *memory) noexcept
{
	free(memory);
}

void operator delete[](void *memory) noexcept
{
	free(memory);
}

void operator delete(void *memory, size_t) noexcept
{
	free(memory);
}

void operator delete[](void *memory, size_t) noexcept
{
	free(memory);
}

void operator delete(void *memory, const std::nothrow_t &) noexcept
{
	free(memory);
}

void operator delete[](void *memory, const std::nothrow_t &) noexcept
{
	free(memory);
}

namespace {

// Whether another thread can read the options within a few seconds, that
// is whether the option lock is free. A thread left waiting on a lock
// that is never freed is abandoned.
bool OptionsReadableFromAnotherThread(LoadedTranslator &addon)
{
	auto done = std::make_shared<std::promise<status_t>>();
	std::future<status_t> result = done->get_future();
	BTranslatorRoster *roster = &addon.Roster();
	const translator_id id = addon.ID();
	std::thread([done, roster, id] {
		BMessage options;
		done->set_value(roster->GetConfigurationMessage(id, &options));
	}).detach();
	return result.wait_for(std::chrono::seconds(10))
			== std::future_status::ready
		&& result.get() == B_OK;
}

TEST(MakeConfigOutOfMemory, EveryFailedAllocationGivesAnError)
{
	LoadedTranslator addon;
	ASSERT_EQ(addon.InitCheck(), B_OK);
	int failures = 0;
	for (long allocation = 0;; allocation++) {
		BView *view = NULL;
		BRect extent;
		Arm(allocation);
		const status_t status = addon.Roster().MakeConfigurationView(
			addon.ID(), NULL, &view, &extent);
		if (!Disarm()) {
			ASSERT_EQ(status, B_OK);
			ASSERT_NE(view, nullptr);
			delete view;
			break;
		}
		failures++;
		EXPECT_EQ(status, B_NO_MEMORY) << "allocation " << allocation;
		EXPECT_EQ(view, nullptr) << "allocation " << allocation;
		ASSERT_TRUE(OptionsReadableFromAnotherThread(addon))
			<< "allocation " << allocation;
	}
	// The view, four controls, four messages and the name field at least.
	EXPECT_GE(failures, 10);
}

} // namespace

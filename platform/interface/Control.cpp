#include <Control.h>

#include <stdlib.h>
#include <string.h>

#include <chrono>

#include <Looper.h>
#include <Message.h>
#include <Window.h>

// The message is the caller's until this constructor is entered, and ours
// from then on: if building the control fails, it goes with it.
BControl::BControl(BRect frame, const char *name, const char *label,
	BMessage *message, uint32 resizingMode, uint32 flags)
try
	: BView(frame, name, resizingMode, flags), fLabel(NULL),
	  fMessage(message), fTargetHandler(NULL), fTargetLooper(NULL),
	  fValue(B_CONTROL_OFF), fEnabled(true)
{
	SetLabel(label);
} catch (...) {
	delete message;
}

BControl::~BControl()
{
	free(fLabel);
	delete fMessage;
}

void BControl::AttachedToWindow()
{
	if (fTargetHandler == NULL && fTargetLooper == NULL) {
		SetTarget(Window());
	}
	BView::AttachedToWindow();
}

// Space, or Enter, toggles an on/off control and reports it.
void BControl::KeyDown(const char *bytes, int32 numBytes)
{
	if (numBytes == 1 && (bytes[0] == B_SPACE || bytes[0] == B_ENTER)) {
		if (IsEnabled()) {
			SetValue(Value() == B_CONTROL_ON ? B_CONTROL_OFF : B_CONTROL_ON);
			Invoke();
		}
		return;
	}
	BView::KeyDown(bytes, numBytes);
}

void BControl::SetLabel(const char *label)
{
	free(fLabel);
	fLabel = label != NULL ? strdup(label) : NULL;
}

const char *BControl::Label() const
{
	return fLabel;
}

void BControl::SetValue(int32 value)
{
	fValue = value;
}

int32 BControl::Value() const
{
	return fValue;
}

void BControl::SetEnabled(bool enabled)
{
	fEnabled = enabled;
}

bool BControl::IsEnabled() const
{
	return fEnabled;
}

status_t BControl::SetMessage(BMessage *message)
{
	if (message != fMessage) {
		delete fMessage;
		fMessage = message;
	}
	return B_OK;
}

BMessage *BControl::Message() const
{
	return fMessage;
}

uint32 BControl::Command() const
{
	return fMessage != NULL ? fMessage->what : 0;
}

status_t BControl::SetTarget(const BHandler *handler, const BLooper *looper)
{
	if (handler != NULL && looper != NULL && handler->Looper() != looper) {
		return B_MISMATCHED_VALUES;
	}
	fTargetHandler = const_cast<BHandler *>(handler);
	fTargetLooper = const_cast<BLooper *>(looper);
	return B_OK;
}

// A handler's looper is looked up when it is needed, since the handler
// may join or leave a window after it became the target.
BHandler *BControl::Target(BLooper **looper) const
{
	if (looper != NULL) {
		*looper = fTargetHandler != NULL ? fTargetHandler->Looper()
			: fTargetLooper;
	}
	return fTargetHandler;
}

static int64 Now()
{
	using namespace std::chrono;
	return duration_cast<microseconds>(
		steady_clock::now().time_since_epoch()).count();
}

status_t BControl::Invoke(BMessage *message)
{
	if (message == NULL) {
		message = fMessage;
	}
	if (message == NULL) {
		return B_BAD_VALUE;
	}
	BLooper *looper;
	BHandler *handler = Target(&looper);
	if (handler == NULL && looper == NULL) {
		return B_BAD_HANDLER;
	}

	BMessage copy(*message);
	copy.AddInt64("when", Now());
	copy.AddPointer("source", this);
	copy.AddInt32("be:value", fValue);
	if (looper != NULL) {
		return looper->PostMessage(&copy, handler != NULL ? handler : looper);
	}
	handler->MessageReceived(&copy);
	return B_OK;
}

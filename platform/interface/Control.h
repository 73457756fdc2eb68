// A view the user sets a value with, which reports each change by sending
// a copy of its message to a target (the invoker part of the platform's
// BControl is folded in here).
//
// Invoke adds to the copy "when" (int64, microseconds), "source" (pointer,
// the control) and "be:value" (int32, the value), then:
// - posts it to the target handler's looper, for that handler, when the
//   handler belongs to a looper (or to the target looper itself when only a
//   looper was given);
// - otherwise hands it straight to the target handler's MessageReceived;
// and gives B_BAD_VALUE without a message and B_BAD_HANDLER without a
// target. A control attached to a window without a target is targeted at
// the window.
#ifndef _CONTROL_H
#define _CONTROL_H

#include <View.h>

class BLooper;

enum {
	B_CONTROL_OFF = 0,
	B_CONTROL_ON = 1
};

class BControl : public BView {
public:
	// The control owns message (which may be NULL) from here on, also
	// when construction fails.
	BControl(BRect frame, const char *name, const char *label,
		BMessage *message, uint32 resizingMode, uint32 flags);
	virtual ~BControl();

	virtual void AttachedToWindow();
	virtual void KeyDown(const char *bytes, int32 numBytes);

	virtual void SetLabel(const char *label);
	const char *Label() const;
	virtual void SetValue(int32 value);
	int32 Value() const;
	virtual void SetEnabled(bool enabled);
	bool IsEnabled() const;

	// Replaces (and deletes) the message.
	virtual status_t SetMessage(BMessage *message);
	BMessage *Message() const;
	uint32 Command() const;
	// B_MISMATCHED_VALUES when both are given and the handler is not the
	// looper's.
	virtual status_t SetTarget(const BHandler *handler,
		const BLooper *looper = NULL);
	// The target handler (NULL when only a looper is targeted), and in
	// *looper the looper the message goes to.
	BHandler *Target(BLooper **looper = NULL) const;
	// Sends message, or the control's own message when NULL.
	virtual status_t Invoke(BMessage *message = NULL);

private:
	BControl(const BControl &);
	BControl &operator=(const BControl &);

	char *fLabel;
	BMessage *fMessage;
	BHandler *fTargetHandler;
	BLooper *fTargetLooper;
	int32 fValue;
	bool fEnabled;
};

#endif // _CONTROL_H

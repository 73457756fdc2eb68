// A rectangle given by its left, top, right and bottom coordinates. Its
// width is right - left; as a bitmap's bounds it spans right - left + 1
// pixels. A rectangle whose right is below its left is invalid (empty).
#ifndef _RECT_H
#define _RECT_H

#include <Point.h>
#include <SupportDefs.h>

class BRect {
public:
	float left;
	float top;
	float right;
	float bottom;

	BRect() : left(0), top(0), right(-1), bottom(-1) {}
	BRect(float left, float top, float right, float bottom)
		: left(left), top(top), right(right), bottom(bottom) {}
	BRect(BPoint leftTop, BPoint rightBottom)
		: left(leftTop.x), top(leftTop.y), right(rightBottom.x),
		  bottom(rightBottom.y) {}

	void Set(float l, float t, float r, float b)
	{
		left = l;
		top = t;
		right = r;
		bottom = b;
	}

	BPoint LeftTop() const { return BPoint(left, top); }
	BPoint RightBottom() const { return BPoint(right, bottom); }
	float Width() const { return right - left; }
	float Height() const { return bottom - top; }
	int32 IntegerWidth() const { return (int32)(right - left); }
	int32 IntegerHeight() const { return (int32)(bottom - top); }
	bool IsValid() const { return left <= right && top <= bottom; }

	void OffsetBy(float dx, float dy)
	{
		left += dx;
		right += dx;
		top += dy;
		bottom += dy;
	}
	void OffsetTo(float x, float y)
	{
		right += x - left;
		bottom += y - top;
		left = x;
		top = y;
	}
	void InsetBy(float dx, float dy)
	{
		left += dx;
		right -= dx;
		top += dy;
		bottom -= dy;
	}
	bool Contains(BPoint point) const
	{
		return point.x >= left && point.x <= right && point.y >= top
			&& point.y <= bottom;
	}

	bool operator==(const BRect &other) const
	{
		return left == other.left && top == other.top
			&& right == other.right && bottom == other.bottom;
	}
	bool operator!=(const BRect &other) const { return !(*this == other); }
};

#endif // _RECT_H

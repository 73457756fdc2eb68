// The screen, and its 8-bit colour map. There is one screen here: the main
// screen, with the platform's default system colour map.
#ifndef _SCREEN_H
#define _SCREEN_H

#include <GraphicsDefs.h>
#include <Rect.h>

class BWindow;

class BScreen {
public:
	BScreen(screen_id id = B_MAIN_SCREEN_ID);
	BScreen(BWindow *window);
	~BScreen();

	bool IsValid();
	status_t SetToNext();

	color_space ColorSpace();
	BRect Frame();
	screen_id ID();

	const color_map *ColorMap();
	// The index of the colour-map entry nearest to the colour: the least
	// squared distance over red, green and blue, ties going to the lower
	// index. Alpha is not compared.
	uint8 IndexForColor(rgb_color color);
	uint8 IndexForColor(uint8 red, uint8 green, uint8 blue,
		uint8 alpha = 255);
	rgb_color ColorForIndex(uint8 index);
	uint8 InvertIndex(uint8 index);

private:
	BScreen(const BScreen &);
	BScreen &operator=(const BScreen &);

	screen_id fID;
};

#endif // _SCREEN_H

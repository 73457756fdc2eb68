// Renders the project's sample picture, a small landscape with a test
// strip, and writes it as scene.png and scene.jpg into the folder given on
// the command line:
//
//   cmake --build build/default --target quorvel_make_scene
//   build/default/host/quorvel_make_scene samples
//
// 160 x 160 pixels, the handheld's screen: a sky graded from deep to pale
// blue, a sun, two ranges of hills, a lake, and at the bottom eight grey
// steps from black to white above a smooth grey ramp, which show how the
// translator's four grey levels and its dithering render a scale.
#include <math.h>
#include <stdio.h>

#include <string>
#include <vector>

#include <jpeglib.h>
#include <png.h>

namespace {

const int kWidth = 160;
const int kHeight = 160;
const int kSamples = 4;  // per axis, for smooth edges

struct Colour {
	double r, g, b;
};

Colour Mix(Colour a, Colour b, double t)
{
	return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t,
		a.b + (b.b - a.b) * t};
}

double Clamp01(double v)
{
	return v < 0 ? 0 : v > 1 ? 1 : v;
}

double FarHills(double x)
{
	return 92 - 14 * sin(x / 23.0 + 0.7) - 6 * sin(x / 9.0 + 2.1);
}

double NearHills(double x)
{
	return 108 - 10 * sin(x / 31.0 + 2.4) - 4 * sin(x / 13.0);
}

// The colour at one point of the picture, in 0..1 per channel.
Colour SceneAt(double x, double y)
{
	if (y >= 148) {
		double level = Clamp01(x / (kWidth - 1));
		return {level, level, level};
	}
	if (y >= 134) {
		double step = floor(x / (kWidth / 8.0)) / 7.0;
		return {step, step, step};
	}
	const Colour deepSky = {0.10, 0.25, 0.60};
	const Colour paleSky = {0.75, 0.85, 0.95};
	Colour colour = Mix(deepSky, paleSky, Clamp01(y / 100.0));
	double sunDistance = hypot(x - 118, y - 34);
	if (sunDistance < 15) {
		colour = {1.0, 0.92, 0.55};
	} else if (sunDistance < 22) {
		colour = Mix({1.0, 0.92, 0.55}, colour, (sunDistance - 15) / 7);
	}
	if (y > FarHills(x)) {
		colour = Mix({0.35, 0.45, 0.55}, {0.25, 0.35, 0.30},
			Clamp01((y - 70) / 40));
	}
	if (y > NearHills(x)) {
		colour = Mix({0.20, 0.55, 0.20}, {0.10, 0.30, 0.08},
			Clamp01((y - 96) / 38));
	}
	double lake = hypot((x - 50) / 34, (y - 122) / 8);
	if (lake < 1) {
		colour = Mix({0.55, 0.70, 0.90}, {0.15, 0.30, 0.55}, lake);
	}
	return colour;
}

std::vector<unsigned char> Render()
{
	std::vector<unsigned char> rgb(kWidth * kHeight * 3);
	for (int y = 0; y < kHeight; y++) {
		for (int x = 0; x < kWidth; x++) {
			Colour sum = {0, 0, 0};
			for (int sy = 0; sy < kSamples; sy++) {
				for (int sx = 0; sx < kSamples; sx++) {
					Colour c = SceneAt(x + (sx + 0.5) / kSamples,
						y + (sy + 0.5) / kSamples);
					sum = {sum.r + c.r, sum.g + c.g, sum.b + c.b};
				}
			}
			double n = kSamples * kSamples;
			unsigned char *out = &rgb[(y * kWidth + x) * 3];
			out[0] = (unsigned char)lround(255 * Clamp01(sum.r / n));
			out[1] = (unsigned char)lround(255 * Clamp01(sum.g / n));
			out[2] = (unsigned char)lround(255 * Clamp01(sum.b / n));
		}
	}
	return rgb;
}

bool WritePng(const char *path, const std::vector<unsigned char> &rgb)
{
	png_image image = {};
	image.version = PNG_IMAGE_VERSION;
	image.width = kWidth;
	image.height = kHeight;
	image.format = PNG_FORMAT_RGB;
	if (!png_image_write_to_file(&image, path, 0, rgb.data(), 0, NULL)) {
		fprintf(stderr, "%s: %s\n", path, image.message);
		return false;
	}
	return true;
}

bool WriteJpeg(const char *path, const std::vector<unsigned char> &rgb)
{
	FILE *file = fopen(path, "wb");
	if (file == NULL) {
		perror(path);
		return false;
	}
	jpeg_compress_struct info;
	jpeg_error_mgr errors;
	info.err = jpeg_std_error(&errors);
	jpeg_create_compress(&info);
	jpeg_stdio_dest(&info, file);
	info.image_width = kWidth;
	info.image_height = kHeight;
	info.input_components = 3;
	info.in_color_space = JCS_RGB;
	jpeg_set_defaults(&info);
	jpeg_set_quality(&info, 90, TRUE);
	jpeg_start_compress(&info, TRUE);
	while (info.next_scanline < info.image_height) {
		JSAMPROW row = const_cast<JSAMPROW>(
			&rgb[info.next_scanline * kWidth * 3]);
		jpeg_write_scanlines(&info, &row, 1);
	}
	jpeg_finish_compress(&info);
	jpeg_destroy_compress(&info);
	return fclose(file) == 0;
}

} // namespace

int main(int argc, char **argv)
{
	if (argc != 2) {
		fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
		return 2;
	}
	std::vector<unsigned char> rgb = Render();
	std::string folder = argv[1];
	bool ok = WritePng((folder + "/scene.png").c_str(), rgb)
		&& WriteJpeg((folder + "/scene.jpg").c_str(), rgb);
	return ok ? 0 : 1;
}

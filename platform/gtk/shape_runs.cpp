#include "platform/gtk/shape_runs.h"

#include <cstddef>

namespace {

bool isKey(const uint8_t* p) {
    return p[0] == 255 && p[1] == 0 && p[2] == 255;
}

} // namespace

std::vector<CCRect> outlineRuns(const uint8_t* pixels, int32_t width, int32_t height, int32_t stride) {
    std::vector<CCRect> runs;
    // The runs of the previous row that may still grow downwards.
    std::vector<size_t> open;
    for (int32_t y = 0; y < height; ++y) {
        const uint8_t* row = pixels + static_cast<ptrdiff_t>(y) * stride;
        std::vector<size_t> next;
        int32_t x = 0;
        while (x < width) {
            while (x < width && isKey(row + 4 * x))
                ++x;
            if (x >= width) break;
            const int32_t start = x;
            while (x < width && !isKey(row + 4 * x))
                ++x;
            // A run that continues one of the row above exactly makes it taller.
            bool grown = false;
            for (size_t index : open) {
                CCRect& r = runs[index];
                if (r.left == start && r.right == x && r.bottom == y) {
                    r.bottom = y + 1;
                    next.push_back(index);
                    grown = true;
                    break;
                }
            }
            if (!grown) {
                runs.push_back({start, y, x, y + 1});
                next.push_back(runs.size() - 1);
            }
        }
        open.swap(next);
    }
    return runs;
}

// A pixel rectangle of the view in client coordinates, with the edges stored as given.
#pragma once

struct ViewRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    // A point inside: left and top included, right and bottom excluded (as a window's areas).
    bool contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
    bool operator==(const ViewRect&) const = default;
};

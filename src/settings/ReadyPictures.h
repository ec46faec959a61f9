#pragma once

// The ready-made vectorial pictures of a new installation: line drawings in the drawing text of
// the record's drawings, made here from straight strokes so that they fit the pictures of their
// areas (area 5, the detailed status, 204 x 132; areas 7 and 8, the custom strips, 164 x 36).
// The factory preferences put them into the first slots of the picture sets 0, 1 and 2.

#include <string>
#include <vector>

namespace pondrel {

// The slots of one picture set (the 60 slots of the preferences are six sets).
inline constexpr int kPicturesPerSet = 10;

struct ReadyPicture {
    std::u16string name;
    std::u16string drawing;
};

// The pictures of set `set` (0 for area 5, 1 and 2 for areas 7 and 8); none for other sets.
std::vector<ReadyPicture> ReadyPictures(int set);

}  // namespace pondrel

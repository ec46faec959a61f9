#pragma once

#include <QImage>
#include <QString>

#include <utility>
#include <vector>

// The nine pictures of the drawing areas, by file name, at twice their area's size.
std::vector<std::pair<QString, QImage>> BodyPictures();

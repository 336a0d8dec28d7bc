#pragma once

#include <QIcon>
#include <QImage>
#include <QString>
#include <array>

namespace tx {

// The sixteen 16x16 pictures of the recipe tree: 1 marks a category, 2 to 15 the
// recipes; 0 is unused (empty). Food pictures come from the colour emoji font when it is
// installed, otherwise the program draws a numbered disc.
class RecipePictures {
public:
    static constexpr int Count = 16;
    static constexpr int Size = 16;

    RecipePictures();
    const QImage& image(int n) const;
    const QIcon& icon(int n) const;
    // What picture n shows, for those who cannot see it.
    static QString name(int n);

private:
    std::array<QImage, Count> images_;
    std::array<QIcon, Count> icons_;
};

} // namespace tx

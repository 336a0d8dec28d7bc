#pragma once

class QString;

namespace tx {

class Dataset;

// Appends to target (open on myfood) every recipe of source (open on the update's
// myfood, any row current) whose name is not in target yet, letter case of Latin letters
// aside; of several update rows with one name the first wins, existing recipes keep all
// their values. Each name is looked up in a set built by one walk of target, so the cost
// grows with the sum of both tables. Answers the number of recipes appended.
int importNewRecipes(Dataset& target, Dataset& source);

} // namespace tx

#pragma once

class Drawer;

// Decodes the game's built-in images ("Circle", and the atlas with "Title"
// and "AnyKey") and loads them into the drawer.
void loadBuiltInImages(Drawer &drawer);

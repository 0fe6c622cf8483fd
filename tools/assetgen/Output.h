#pragma once
// Where generated content goes: files in the game folder (logical names with backslashes, as the game
// spells them, become sub-folders), and the list of pictures kept for the contact sheet.
#include <cairo.h>

#include <atomic>
#include <string>
#include <string_view>
#include <vector>

namespace assetgen {

class Output {
public:
    // With an empty folder nothing is written; pictures are still kept for the contact sheet.
    explicit Output(std::string folder) : folder_(std::move(folder)) {}
    ~Output();
    Output(const Output&) = delete;
    Output& operator=(const Output&) = delete;

    // Saves a picture under its logical name ("Graphics\logo.png"): PNG with alpha, or an opaque
    // JPEG when the name ends in ".jpg". Takes ownership of the surface.
    void Picture(const std::string& logicalName, cairo_surface_t* surface);
    // Writes raw bytes (sounds, music, text files).
    void Bytes(const std::string& logicalName, std::string_view bytes);
    // Reads a file of the game folder (for the language file the font keys are added to).
    bool Read(const std::string& logicalName, std::string& bytes) const;

    struct Entry {
        std::string name;
        cairo_surface_t* surface;
    };
    const std::vector<Entry>& Pictures() const { return pictures_; }
    bool Writes() const { return !folder_.empty(); }
    bool Failed() const { return failed_; }
    std::string PathOf(const std::string& logicalName) const;

private:
    std::string folder_;
    std::vector<Entry> pictures_;
    std::atomic<bool> failed_{false};
};

}  // namespace assetgen

#include "resources/rc/resource_script.h"

#include <cstdint>
#include <cstdio>

#include "resources/dialog_templates.h"
#include "resources/resource_ids.h"
#include "resources/string_table.h"
#include "resources/version.h"

namespace ofu::rc {
namespace {

using ui::ControlKind;
using ui::ControlTemplate;
using ui::DialogTemplate;

// Joins style names with " | "; an empty list gives "0".
class StyleList {
public:
    void Add(std::string_view name) {
        if (!text_.empty()) text_ += " | ";
        text_ += name;
    }
    void AddIf(bool condition, std::string_view name) {
        if (condition) Add(name);
    }
    std::string Text() const { return text_.empty() ? "0" : text_; }

private:
    std::string text_;
};

const char* ClassOf(ControlKind kind) {
    switch (kind) {
        case ControlKind::StaticText:
        case ControlKind::Icon:
            return "Static";
        case ControlKind::GroupBox:
        case ControlKind::PushButton:
        case ControlKind::DefaultPushButton:
        case ControlKind::RadioButton:
        case ControlKind::CheckBox:
            return "Button";
        case ControlKind::Edit:
            return "Edit";
        case ControlKind::ListView:
            return "SysListView32";
        case ControlKind::ComboBox:
            return "ComboBox";
        case ControlKind::IpAddress:
            return "SysIPAddress32";
        case ControlKind::ProgressBar:
            return "msctls_progress32";
    }
    return "Static";
}

// The control's own styles first, then the window styles that every kind may carry. The
// CONTROL statement adds WS_CHILD | WS_VISIBLE by itself; a hidden control takes the visible
// style away again.
std::string ControlStyles(const ControlTemplate& control) {
    StyleList styles;
    switch (control.kind) {
        case ControlKind::StaticText:
            styles.Add("SS_LEFT");
            styles.AddIf(control.Has(ui::kNoPrefix), "SS_NOPREFIX");
            break;
        case ControlKind::Icon:
            styles.Add("SS_ICON");
            break;
        case ControlKind::GroupBox:
            styles.Add("BS_GROUPBOX");
            break;
        case ControlKind::PushButton:
            styles.Add("BS_PUSHBUTTON");
            break;
        case ControlKind::DefaultPushButton:
            styles.Add("BS_DEFPUSHBUTTON");
            break;
        case ControlKind::RadioButton:
            styles.Add(control.Has(ui::kAutoRadio) ? "BS_AUTORADIOBUTTON" : "BS_RADIOBUTTON");
            break;
        case ControlKind::CheckBox:
            styles.Add(control.Has(ui::kAutoCheck) ? "BS_AUTOCHECKBOX" : "BS_CHECKBOX");
            break;
        case ControlKind::Edit:
            styles.Add("ES_LEFT");
            styles.AddIf(control.Has(ui::kAutoHScroll), "ES_AUTOHSCROLL");
            styles.AddIf(control.Has(ui::kPassword), "ES_PASSWORD");
            break;
        case ControlKind::ListView:
            styles.AddIf(control.Has(ui::kReportView), "LVS_REPORT");
            styles.AddIf(control.Has(ui::kSingleSelection), "LVS_SINGLESEL");
            styles.AddIf(control.Has(ui::kShowSelectionAlways), "LVS_SHOWSELALWAYS");
            break;
        case ControlKind::ComboBox:
            styles.Add(control.Has(ui::kDropDownList) ? "CBS_DROPDOWNLIST" : "CBS_DROPDOWN");
            styles.AddIf(control.Has(ui::kSorted), "CBS_SORT");
            break;
        case ControlKind::IpAddress:
            break;
        case ControlKind::ProgressBar:
            styles.AddIf(control.Has(ui::kSmooth), "PBS_SMOOTH");
            break;
    }
    styles.AddIf(control.Has(ui::kBorder), "WS_BORDER");
    styles.AddIf(control.Has(ui::kVScroll), "WS_VSCROLL");
    styles.AddIf(control.Has(ui::kTabStop), "WS_TABSTOP");
    styles.AddIf(control.Has(ui::kGroupStart), "WS_GROUP");
    styles.AddIf(control.Has(ui::kDisabled), "WS_DISABLED");
    styles.AddIf(control.Has(ui::kHidden), "NOT WS_VISIBLE");
    return styles.Text();
}

std::string DialogStyles(const DialogTemplate& dialog) {
    StyleList styles;
    styles.Add("DS_SETFONT");
    styles.AddIf(dialog.Has(ui::kModalFrame), "DS_MODALFRAME");
    styles.AddIf(dialog.Has(ui::kPopup), "WS_POPUP");
    styles.AddIf(dialog.Has(ui::kCaption), "WS_CAPTION");
    styles.AddIf(dialog.Has(ui::kSystemMenu), "WS_SYSMENU");
    styles.AddIf(dialog.Has(ui::kMinimizeBox), "WS_MINIMIZEBOX");
    return styles.Text();
}

std::string Rect(const ui::DialogRect& rect) {
    return std::to_string(rect.x) + ", " + std::to_string(rect.y) + ", " +
           std::to_string(rect.width) + ", " + std::to_string(rect.height);
}

void AppendDialog(std::string& out, const DialogTemplate& dialog) {
    out += std::to_string(dialog.id) + " DIALOGEX 0, 0, " + std::to_string(dialog.width) + ", " +
           std::to_string(dialog.height) + "\n";
    out += "STYLE " + DialogStyles(dialog) + "\n";
    if (dialog.Has(ui::kAppWindow)) out += "EXSTYLE WS_EX_APPWINDOW\n";
    out += "CAPTION " + Quoted(dialog.caption) + "\n";
    // Normal weight, not italic, the default character set.
    out += "FONT " + std::to_string(dialog.fontPoints) + ", " + Quoted(dialog.fontFace) +
           ", 400, 0, 0x1\n";
    out += "BEGIN\n";
    for (const ControlTemplate& control : dialog.controls) {
        // An icon control's text is the icon's resource number.
        const std::string text = control.kind == ControlKind::Icon ? std::to_string(control.imageId)
                                                                   : Quoted(control.text);
        out += "    CONTROL " + text + ", " + std::to_string(control.id) + ", \"" +
               ClassOf(control.kind) + "\", " + ControlStyles(control) + ", " + Rect(control.rect) +
               "\n";
    }
    out += "END\n\n";
}

void AppendVersion(std::string& out, Program program) {
    const std::string numbers = VersionNumbers(kProductVersion);
    out += "1 VERSIONINFO\n";
    out += "FILEVERSION " + numbers + "\n";
    out += "PRODUCTVERSION " + numbers + "\n";
    out += "FILEFLAGSMASK VS_FFI_FILEFLAGSMASK\n";
    out += "FILEFLAGS 0x0L\n";
    out += "FILEOS VOS_NT_WINDOWS32\n";
    out += "FILETYPE VFT_APP\n";
    out += "FILESUBTYPE VFT2_UNKNOWN\n";
    out += "BEGIN\n";
    out += "    BLOCK \"StringFileInfo\"\n    BEGIN\n";
    // US English, Unicode: the "Translation" value below names the same pair.
    out += "        BLOCK \"040904b0\"\n        BEGIN\n";
    const std::pair<const char*, const char*> values[] = {
        {"FileDescription", FileDescription(program).data()}, {"FileVersion", kProductVersion},
        {"ProductName", kProductName},     {"ProductVersion", kProductVersion},
    };
    for (const auto& [name, value] : values) {
        out += std::string("            VALUE \"") + name + "\", " + Quoted(value) + "\n";
    }
    out += "        END\n    END\n";
    out += "    BLOCK \"VarFileInfo\"\n    BEGIN\n";
    out += "        VALUE \"Translation\", 0x409, 1200\n";
    out += "    END\n";
    out += "END\n\n";
}

void AppendStrings(std::string& out) {
    std::string rows;
    for (int id = 0; id <= 0xFFFF; ++id) {
        const std::string_view text = ui::LoadStringResource(id);
        if (!text.empty()) rows += "    " + std::to_string(id) + ", " + Quoted(text) + "\n";
    }
    if (rows.empty()) return;
    out += "STRINGTABLE\nBEGIN\n" + rows + "END\n\n";
}

void PutU16(std::vector<unsigned char>& out, unsigned value) {
    out.push_back(static_cast<unsigned char>(value & 0xFF));
    out.push_back(static_cast<unsigned char>((value >> 8) & 0xFF));
}

void PutU32(std::vector<unsigned char>& out, std::uint32_t value) {
    PutU16(out, value & 0xFFFF);
    PutU16(out, value >> 16);
}

}  // namespace

std::string Quoted(std::string_view text) {
    std::string out = "\"";
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        switch (c) {
            case '"':
                out += "\"\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            default:
                if (byte < 0x20 || byte == 0x7F) {
                    char octal[8];
                    std::snprintf(octal, sizeof octal, "\\%03o", byte);
                    out += octal;
                } else {
                    out += c;
                }
                break;
        }
    }
    return out + "\"";
}

std::string VersionNumbers(std::string_view dotted) {
    std::string out;
    std::size_t start = 0;
    for (int part = 0; part < 4; ++part) {
        unsigned value = 0;
        if (start <= dotted.size()) {
            std::size_t end = dotted.find('.', start);
            if (end == std::string_view::npos) end = dotted.size();
            for (std::size_t i = start; i < end; ++i) {
                if (dotted[i] < '0' || dotted[i] > '9') break;
                value = value * 10 + static_cast<unsigned>(dotted[i] - '0');
                if (value > 0xFFFF) value = 0xFFFF;
            }
            start = end + 1;
        }
        if (part > 0) out += ",";
        out += std::to_string(value);
    }
    return out;
}

std::string_view FileDescription(Program program) {
    return program == Program::Window ? kProductName : "Ostrel Ferrow Utility command-line client";
}

std::string ResourceScript(Program program, std::string_view iconPath, std::string_view manifestPath) {
    std::string out;
    out += "// Written by ofu-resource-script from the dialog templates, the string table, the icon\n";
    out += "// and the version of the program; do not edit.\n";
    out += "#pragma code_page(65001)\n";
    out += "#include <windows.h>\n#include <commctrl.h>\n\n";
    out += "LANGUAGE LANG_ENGLISH, SUBLANG_ENGLISH_US\n\n";
    // The console client opens no dialog, loads no string and needs no common controls: it
    // carries the icon that shows it in file listings and its version.
    if (program == Program::Window) {
        for (const DialogTemplate* dialog : ui::AllTemplates()) AppendDialog(out, *dialog);
        AppendStrings(out);
    }
    out += std::to_string(ui::kApplicationIconId) + " ICON " + Quoted(iconPath) + "\n\n";
    AppendVersion(out, program);
    if (program == Program::Window) {
        // The manifest of the executable: resource 1 of type RT_MANIFEST (24).
        out += "1 24 " + Quoted(manifestPath) + "\n";
    }
    return out;
}

std::vector<unsigned char> IconFile(std::span<const ui::IconImage> images) {
    std::vector<unsigned char> out;
    PutU16(out, 0);  // reserved
    PutU16(out, 1);  // an icon, not a cursor
    PutU16(out, static_cast<unsigned>(images.size()));
    std::uint32_t offset = static_cast<std::uint32_t>(6 + 16 * images.size());
    for (const ui::IconImage& image : images) {
        // A width or height of 256 is written as 0.
        const auto side = static_cast<unsigned char>(image.size >= 256 ? 0 : image.size);
        out.push_back(side);
        out.push_back(side);
        out.push_back(0);  // no palette
        out.push_back(0);  // reserved
        PutU16(out, 1);    // colour planes
        PutU16(out, 32);   // bits per pixel
        PutU32(out, static_cast<std::uint32_t>(image.png.size()));
        PutU32(out, offset);
        offset += static_cast<std::uint32_t>(image.png.size());
    }
    for (const ui::IconImage& image : images) out.insert(out.end(), image.png.begin(), image.png.end());
    return out;
}

std::string Manifest() {
    return std::string(
               "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
               "<assembly xmlns=\"urn:schemas-microsoft-com:asm.v1\" manifestVersion=\"1.0\">\n"
               "  <assemblyIdentity type=\"win32\" name=\"Ostrel.Ferrow.Utility\" version=\"") +
           kProductVersion +
           "\" processorArchitecture=\"*\"/>\n"
           "  <dependency>\n"
           "    <dependentAssembly>\n"
           "      <assemblyIdentity type=\"win32\" name=\"Microsoft.Windows.Common-Controls\"\n"
           "                        version=\"6.0.0.0\" processorArchitecture=\"*\"\n"
           "                        publicKeyToken=\"6595b64144ccf1df\" language=\"*\"/>\n"
           "    </dependentAssembly>\n"
           "  </dependency>\n"
           "</assembly>\n";
}

}  // namespace ofu::rc

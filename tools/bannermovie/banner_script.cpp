// The banner's two scripts. The frame script reads in the order it runs: its start-up first, then
// each function in the order the banner comes to it. (The player must meet a function's
// definition before a call of it runs, so the start-up is emitted last, after the functions.)
//
// How a variable file is read. Its text is loaded raw (LoadVars.onData receives it unparsed) and
// taken apart by the file's fixed layout (package_format_reading.h, by the markers of the core's
// package_format.h), never decoded as form data, so a message keeps its "&", "+", "%" and "=".
// Players differ in how they turn the file's single-byte Windows-1252 text into characters: with
// System.useCodepage set, some decode the raw text by the code page, but some decode it as UTF-8
// and honour the code page only for form data (loadVariables). So the file is also loaded as form
// data into an empty clip, and every run of letters the raw text could not decode is taken from the
// same place in that copy: the raw text fixes every ASCII character exactly, the form copy only
// supplies letters beyond ASCII.
//
// How a message is shown. Before it is typed, the whole message is laid out in the message field
// at each size of the ladder in turn until it fits; a message too long for the smallest is typed
// at that size and scrolls up a line at a time as typing reaches the bottom. The letters are
// light on a dark halo, or dark on a light one where the picture under the message is light. The
// finished message is held long enough to be read at 20 letters a second (200 words a minute, a
// common reading speed), and never less than 2 seconds.
//
// Every typed prefix is traced, and so is each file begun, passed over or missing, the hold chosen
// for each finished message ("hold N ms") and each blink of the caret ("caret true" when it shows):
// players show no trace output to a visitor, and a test can follow the banner letter by letter,
// and time it by the movie's own timers, through it.
#include "banner_script.h"

#include <vector>

#include "action_assembler.h"
#include "package_format.h"
#include "package_format_reading.h"
#include "script_builder.h"

namespace bannermovie {
namespace {

namespace format = quillbeam::package_format;

constexpr auto kFileCount = static_cast<std::int32_t>(format::kVariableFileNames.size());
constexpr std::int32_t kPollIntervalMs = 100;
constexpr std::int32_t kPollsBeforeGivingUp = kFileWaitMs / kPollIntervalMs;
constexpr std::int32_t kFormCopyDepth = 100;
constexpr std::int32_t kLastAscii = 127;
constexpr const char* kFormCopyName = "fileData";
constexpr const char* kHexDigits = "0123456789abcdefABCDEF";
constexpr const char* kBlankCharacters = " \t\r\n";

// The halo where the player draws filters: a glow of the halo's colour round the letters, strong
// enough to be solid a pixel out, as the four copies are.
constexpr std::int32_t kGlowBlur = 2;
constexpr std::int32_t kGlowStrength = 8;
// A row of the caret's light bar, a fifth of a line below its top.
constexpr std::int32_t kProbeRow = kCaretTop + kTextSizes.front() / 5;

// The script's string operations, for the reading rules of a variable file.
struct ScriptTextOps {
    const ScriptBuilder& s;
    Expr Local(const char* name, const Expr& value) const { return s.Local(name, value); }
    static Expr IndexOf(const Expr& text, const std::string& marker) {
        return text.Call("indexOf", marker);
    }
    static Expr IndexOf(const Expr& text, const std::string& marker, const Expr& from) {
        return text.Call("indexOf", marker, from);
    }
    static Expr Substring(const Expr& text, const Expr& from, const Expr& to) {
        return text.Call("substring", from, to);
    }
    static Expr Substr(const Expr& text, const Expr& from) { return text.Call("substr", from); }
};

// The timeline's variables.
const Expr fileNames = Var("fileNames");
const Expr fileNumber = Var("fileNumber");
const Expr timer = Var("timer");
const Expr blinkTimer = Var("blinkTimer");
const Expr polls = Var("polls");
const Expr usable = Var("usable");
const Expr loader = Var("loader");
const Expr speed = Var("speed");
const Expr rawUrl = Var("rawUrl");
const Expr rawMessage = Var("rawMessage");
const Expr theUrl = Var(FormatText(format::kUrlName));
const Expr message = Var("message");
const Expr blankInRow = Var("blankInRow");
const Expr resting = Var("resting");
const Expr typed = Var("typed");
const Expr shown = Var("shown");
const Expr lineStart = Var("lineStart");
const Expr lineStarts = Var("lineStarts");  // of every line typed so far
const Expr row = Var("row");                // where the line being typed shows, from 0
const Expr rows = Var("rows");              // how many lines the banner shows at this size
// Where the word being typed begins: the line's letters before it are its finished words. -1
// when they are to be laid out again.
const Expr wordStart = Var("wordStart");
const Expr lineHeight = Var("lineHeight");
const Expr fontSize = Var("fontSize");
const Expr textSizes = Var("textSizes");
const Expr picture = Var("picture");
const Expr lightPicture = Var("lightPicture");
const Expr pictureLoader = Var("pictureLoader");
const Expr glowHalo = Var("glowHalo");
const Expr formCopy = Var(kFormCopyName);
const Expr Math = Var("Math");
const Expr flash = Var("flash");

// The instances on the stage.
const Expr messageField = Var(kMessageFieldName);
const Expr lineField = Var(kLineFieldName);
const Expr measureField = Var(kMeasureFieldName);
const Expr earlierLines = Var(kEarlierLinesName);
const Expr lastLine = Var(kLastLineName);
const Expr lastWord = Var(kLastWordName);
const Expr caret = Var(kCaretName);
const Expr backdrop = Var(kBackdropName);

// The script's functions, called by these and handed to the player as handlers.
const Expr loadNextFile = Var("loadNextFile");
const Expr receiveFile = Var("receiveFile");
const Expr readFile = Var("readFile");
const Expr isHexDigit = Var("isHexDigit");
const Expr restoreText = Var("restoreText");
const Expr isBlank = Var("isBlank");
const Expr waitForFile = Var("waitForFile");
const Expr rest = Var("rest");
const Expr readPicture = Var("readPicture");
const Expr chooseInk = Var("chooseInk");
const Expr setFormat = Var("setFormat");
const Expr styleLayer = Var("styleLayer");
const Expr applyStyle = Var("applyStyle");
const Expr fitMessage = Var("fitMessage");
const Expr startTyping = Var("startTyping");
const Expr typeNextLetter = Var("typeNextLetter");
const Expr holdTime = Var("holdTime");
const Expr setLayerText = Var("setLayerText");
const Expr showText = Var("showText");
const Expr clearText = Var("clearText");
const Expr blinkCaret = Var("blinkCaret");

// The player's functions.
const Expr setInterval = Var("setInterval");
const Expr clearInterval = Var("clearInterval");
const Expr createEmptyMovieClip = Var("createEmptyMovieClip");
const Expr updateAfterEvent = Var("updateAfterEvent");

// A text layer's outline copies.
std::array<Expr, kOutlineCopyCount> OutlineCopies(const Expr& layer) {
    return {layer[OutlineCopyName(0)], layer[OutlineCopyName(1)], layer[OutlineCopyName(2)],
            layer[OutlineCopyName(3)]};
}

// Sets the banner going: the fields that only lay text out hidden, the halo the player can draw,
// then the picture and the first file loading.
void WriteStartUp(const ScriptBuilder& s) {
    s.Set(messageField["_visible"], false);  // it only lays the message out
    s.Set(lineField["_visible"], false);     // and this the line being typed
    s.Set(measureField["_visible"], false);  // it only measures
    s.Set(textSizes, ArrayOf({kTextSizes.begin(), kTextSizes.end()}));
    s.Set(measureField["text"], "X");
    s.Set(lineHeight, measureField["textHeight"]);
    s.Do(clearText());  // the caret waits at the start for the first message
    // A player that draws a clip into a bitmap also draws filters: it keeps a filtered field's
    // pixels and draws them again until its text changes, so one field with a glow costs less to
    // show than five fields of letters. Drawn into one pixel, the caret's light bar tells.
    const Expr probe = s.Local("probe", flash["display"].New("BitmapData", 1, 1, true, 0));
    s.Do(probe.Call("draw", caret, flash["geom"].New("Matrix", 1, 0, 0, 1, 0, -kProbeRow)));
    s.Set(glowHalo, probe.Call("getPixel32", 0, 0) != 0);
    for (const Expr& layer : {earlierLines, lastLine, lastWord}) {
        for (const Expr& copy : OutlineCopies(layer)) s.Set(copy["_visible"], !glowHalo);
    }
    s.Set(Var("System")["useCodepage"], true);  // the files are single-byte Windows-1252 text
    s.Stop();
    // Nothing happens when the picture is missing. Ruffle puts a loaded picture into the backdrop
    // before it reports the load complete, and runs the initialisation only with the movie's next
    // frame, up to a second later: read at completion, the picture never shows under letters in
    // the wrong ink. Players that fill the backdrop only at initialisation read it then.
    s.Set(pictureLoader, New("MovieClipLoader"));
    const Expr pictureListener = s.Local("pictureListener", New("Object"));
    s.Set(pictureListener["onLoadComplete"], readPicture);
    s.Set(pictureListener["onLoadInit"], readPicture);
    s.Do(pictureLoader.Call("addListener", pictureListener));
    s.Do(pictureLoader.Call("loadClip", FormatText(format::kPictureName), backdrop));
    std::vector<Expr> names;
    names.reserve(format::kVariableFileNames.size());
    for (const std::u16string_view name : format::kVariableFileNames) {
        names.emplace_back(FormatText(name));
    }
    s.Set(fileNames, ArrayOf(names));
    s.Set(fileNumber, 0);
    s.Set(blankInRow, 0);
    s.Set(resting, false);
    s.Do(loadNextFile());
}

// Starts loading the next variable file, 1 to 4 and round again.
void DefineLoadNextFile(const ScriptBuilder& s) {
    s.Function(loadNextFile, {}, [&] {
        s.Do(clearInterval(timer));
        s.Set(fileNumber, fileNumber % kFileCount + 1);
        s.Trace("loading " + fileNumber);
        s.Set(usable, false);
        s.Set(polls, 0);
        const Expr fileName = s.Local("fileName", fileNames[fileNumber - 1]);
        s.Set(loader, New("LoadVars"));
        s.Set(loader["onData"], receiveFile);
        s.Do(loader.Call("load", fileName));
        // A fresh clip holds no variables of the file before.
        s.Do(createEmptyMovieClip(kFormCopyName, kFormCopyDepth));
        s.GetUrl(fileName, kFormCopyName, kGetUrlLoadVariables);
        s.Set(timer, setInterval(waitForFile, kPollIntervalMs));
    });
}

// LoadVars.onData, with the file's raw text (undefined when it could not be loaded). A late answer
// for a file already given up comes from another loader and is ignored.
void DefineReceiveFile(const ScriptBuilder& s) {
    const Expr text = Var("text");
    s.Function(receiveFile, {text},
               [&] { s.If(Var("this") == loader, [&] { s.Set(usable, readFile(text)); }); });
}

// Takes speed, rawUrl and rawMessage from the raw text by the file's fixed layout; false when there
// is no text or it is not laid out as a variable file.
void DefineReadFile(const ScriptBuilder& s) {
    const Expr text = Var("text");
    s.Function(readFile, {text}, [&] {
        s.If(TypeOf(text) != "string", [&] { s.Return(false); });
        const auto values = LocateValues(ScriptTextOps{s}, text);
        s.If(values.missing, [&] { s.Return(false); });
        s.Set(speed, Number(values.speed));
        // Not a positive number: the default. (NaN is not greater than 0 either.)
        s.If(!(speed > 0), [&] { s.Set(speed, format::kDefaultSpeedMs); });
        s.Set(rawUrl, values.url);
        s.Set(rawMessage, values.message);
        s.Return(true);
    });
}

// c is one hexadecimal digit, as after a "%" that form data decodes.
void DefineIsHexDigit(const ScriptBuilder& s) {
    const Expr c = Var("c");
    s.Function(isHexDigit, {c},
               [&] { s.Return(c["length"] == 1 && Expr(kHexDigits).Call("indexOf", c) >= 0); });
}

// restoreText(raw, firstName): raw (a piece of the raw text that starts in the value of the form
// pair firstName) with each run of letters beyond ASCII taken from the form copy.
void DefineRestoreText(const ScriptBuilder& s) {
    const Expr raw = Var("raw");
    const Expr firstName = Var("firstName");
    const Expr names = Var("names");      // the form copy's variable names, in file order
    const Expr index = Var("index");      // the pair raw has reached, in names
    const Expr decoded = Var("decoded");  // the form copy's text of the part of that pair
    const Expr inName = Var("inName");    // that part is the pair's name, not its value
    const Expr at = Var("at");            // the place in decoded
    const Expr out = Var("out");
    const Expr i = Var("i");  // the place in raw
    const auto beyondAscii = [](const Expr& text, const Expr& place) {
        return text.Call("charCodeAt", place) > kLastAscii;
    };
    const auto startPairPart = [&](const Expr& text, bool name) {
        s.Set(decoded, text);
        s.Set(inName, name);
        s.Set(at, 0);
    };

    // A run the raw text may have decoded wrongly: the form copy's run at `at` replaces it (the
    // raw run stays when the copy has none there).
    const auto copyRunBeyondAscii = [&] {
        const Expr runEnd = s.Local("runEnd", i);
        s.While(beyondAscii(raw, runEnd), [&] { s.Set(runEnd, runEnd + 1); });
        const Expr take = s.Local("take", at);
        s.While(beyondAscii(decoded, take), [&] { s.Set(take, take + 1); });
        s.If(
            at < take, [&] { s.Set(out, out + decoded.Call("substring", at, take)); },
            [&] { s.Set(out, out + raw.Call("substring", i, runEnd)); });
        s.Set(at, take);
        s.Set(i, runEnd);
    };

    // An ASCII character: kept as it is; it moves the place in the form copy along.
    const auto copyAsciiCharacter = [&] {
        const Expr c = s.Local("c", raw.Call("charAt", i));
        s.If(
            c == "&",
            [&] {  // the next pair begins: its name
                s.Set(index, index + 1);
                startPairPart(names[index], true);
            },
            [&] {
                s.If(
                    inName && c == "=",
                    [&] { startPairPart(formCopy[names[index]], false); },  // the pair's value
                    [&] {
                        // "%" and two hex digits are one character in the form copy.
                        s.If(c == "%" && isHexDigit(raw.Call("charAt", i + 1)) &&
                                 isHexDigit(raw.Call("charAt", i + 2)),
                             [&] {
                                 s.Set(c, raw.Call("substr", i, 3));
                                 s.Set(i, i + 2);
                             });
                        s.Set(at, at + 1);
                    });
            });
        s.Set(out, out + c);
        s.Set(i, i + 1);
    };

    s.Function(restoreText, {raw, firstName}, [&] {
        s.Local(names, New("Array"));
        // for..in lists the pairs newest first.
        const Expr name = Var("name");
        s.ForIn(formCopy, name, [&] { s.Do(names.Call("unshift", name)); });
        s.Local(index, 0);
        s.While(index < names["length"] && names[index] != firstName,
                [&] { s.Set(index, index + 1); });
        s.Local(decoded, formCopy[firstName]);
        s.Local(inName, false);
        s.Local(at, 0);
        s.Local(out, "");
        s.Local(i, 0);
        s.While(i < raw["length"],
                [&] { s.If(beyondAscii(raw, i), copyRunBeyondAscii, copyAsciiCharacter); });
        s.Return(out);
    });
}

// text holds nothing but spaces, tabs and line breaks.
void DefineIsBlank(const ScriptBuilder& s) {
    const Expr text = Var("text");
    s.Function(isBlank, {text}, [&] {
        const Expr i = s.Local("i", 0);
        s.While(i < text["length"], [&] {
            s.If(Expr(kBlankCharacters).Call("indexOf", text.Call("charAt", i)) < 0,
                 [&] { s.Return(false); });
            s.Set(i, i + 1);
        });
        s.Return(true);
    });
}

// Polls until both copies of the file are in, or gives up on it.
void DefineWaitForFile(const ScriptBuilder& s) {
    s.Function(waitForFile, {}, [&] {
        s.Set(polls, polls + 1);
        const Expr givingUp = polls >= kPollsBeforeGivingUp;
        s.If(
            usable &&
                (formCopy[FormatText(format::kLoadedName)] == FormatText(format::kLoadedValue) ||
                 givingUp),
            [&] {
                s.Do(clearInterval(timer));
                s.Set(theUrl, restoreText(rawUrl, FormatText(format::kUrlName)));
                // Each line break of the file is one line break on the banner.
                s.Set(message, restoreText(rawMessage, FormatText(format::kMessageName))
                                   .Call("split", FormatText(format::kLineBreak))
                                   .Call("join", "\n"));
                s.If(
                    isBlank(message),
                    [&] {
                        s.Trace("empty " + fileNumber);
                        s.Set(blankInRow, blankInRow + 1);
                        // Four in a row: every file is blank.
                        s.If(
                            blankInRow < kFileCount, [&] { s.Do(loadNextFile()); },
                            [&] { s.Do(rest()); });
                    },
                    [&] {
                        s.Set(blankInRow, 0);
                        s.Do(startTyping());
                    });
            },
            [&] {
                s.If(givingUp, [&] {
                    s.Trace("skipped " + fileNumber);
                    s.Set(blankInRow, 0);  // it may hold a message next time round
                    s.Do(loadNextFile());
                });
            });
    });
}

// Shows nothing but the picture, and starts no timer again.
void DefineRest(const ScriptBuilder& s) {
    s.Function(rest, {}, [&] {
        s.Set(resting, true);
        s.Do(clearText());
        s.Set(caret["_visible"], false);
        s.Do(updateAfterEvent());
        s.Trace("resting");
    });
}

// The picture has loaded into the backdrop: it is copied, to be read where each message lies. A
// player that cannot copy a clip's pixels leaves the copy transparent, which reads as the black
// stage behind it: the letters then stay light, as on a dark picture.
void DefineReadPicture(const ScriptBuilder& s) {
    s.Function(readPicture, {}, [&] {
        s.Set(picture, flash["display"].New("BitmapData", kStageWidth, kStageHeight, true, 0));
        s.Do(picture.Call("draw", backdrop));
        // The message being typed or held takes the ink for it at once. A held message's caret
        // keeps blinking in time: the picture may come in the middle of a hold.
        s.If(!resting && TypeOf(message) == "string", [&] {
            const Expr caretShown = s.Local("caretShown", caret["_visible"]);
            s.Do(fitMessage());
            s.Do(showText(shown));
            s.Set(caret["_visible"], caretShown);
            s.Do(updateAfterEvent());
        });
    });
}

// lightPicture: whether the picture under the message, as laid out now, is light.
void DefineChooseInk(const ScriptBuilder& s, const TextArea& area) {
    s.Function(chooseInk, {}, [&] {
        s.Set(lightPicture, false);
        s.If(!picture, [&] { s.Return(); });  // not loaded (yet)
        const Expr left = area.left + kTextGutter;
        const Expr top = area.top + kTextGutter;
        const Expr right = s.Local("right", left + messageField["textWidth"]);
        const Expr bottom =
            s.Local("bottom", top + Math.Call("min", messageField["textHeight"],
                                              area.bottom - area.top - 2 * kTextGutter));
        const Expr luma = s.Local("luma", 0);
        const Expr samples = s.Local("samples", 0);
        const Expr y = s.Local("y", top);
        s.While(y < bottom, [&] {
            const Expr x = s.Local("x", left);
            s.While(x < right, [&] {
                const Expr pixel = s.Local("pixel", picture.Call("getPixel", x, y));
                s.Set(luma, luma + ((pixel >> 16) & 255) * kRedWeight +
                                ((pixel >> 8) & 255) * kGreenWeight + (pixel & 255) * kBlueWeight);
                s.Set(samples, samples + 1);
                s.Set(x, x + kPictureSampleStep);
            });
            s.Set(y, y + kPictureSampleStep);
        });
        s.Set(lightPicture, luma > samples * kLightLuma);
    });
}

// Sets one field's size and colour, for the text it holds and the text it will be given.
void DefineSetFormat(const ScriptBuilder& s) {
    const Expr field = Var("field");
    const Expr size = Var("size");
    const Expr colour = Var("colour");
    s.Function(setFormat, {field, size, colour}, [&] {
        const Expr format = s.Local("format", New("TextFormat"));
        s.Set(format["size"], size);
        s.Set(format["color"], colour);
        s.Do(field.Call("setNewTextFormat", format));
        s.Do(field.Call("setTextFormat", format));
    });
}

// Gives a text layer's letters and halo their size and ink. Where the player draws filters, the
// halo is a glow round the layer, drawn again only when its text changes; else it is the layer's
// outline copies.
void DefineStyleLayer(const ScriptBuilder& s) {
    const Expr layer = Var("layer");
    const Expr letters = Var("letters");
    const Expr halo = Var("halo");
    s.Function(styleLayer, {layer, letters, halo}, [&] {
        s.Do(setFormat(layer[kLettersName], fontSize, letters));
        s.If(
            glowHalo,
            [&] {
                s.Set(layer["filters"],
                      ArrayOf({flash["filters"].New("GlowFilter", halo, 1, kGlowBlur, kGlowBlur,
                                                    kGlowStrength, 1)}));
            },
            [&] {
                for (const Expr& copy : OutlineCopies(layer)) {
                    s.Do(setFormat(copy, fontSize, halo));
                }
            });
    });
}

// Gives the letters, their halo, the fields that lay text out and the caret the font size and
// the ink. (A new format scrolls a field back to its top.)
void DefineApplyStyle(const ScriptBuilder& s) {
    s.Function(applyStyle, {}, [&] {
        const Expr letters = s.Local("letters", kLightInk);
        const Expr halo = s.Local("halo", kDarkInk);
        // The caret's light bar on its dark rim, or the other way round.
        const Expr caretInk = s.Local("caretInk", flash["geom"].New("ColorTransform"));
        s.If(lightPicture, [&] {
            s.Set(letters, kDarkInk);
            s.Set(halo, kLightInk);
            s.Set(caretInk, flash["geom"].New("ColorTransform", -1, -1, -1, 1, 255, 255, 255, 0));
        });
        s.Do(styleLayer(earlierLines, letters, halo));
        s.Do(styleLayer(lastLine, letters, halo));
        s.Do(styleLayer(lastWord, letters, halo));
        s.Set(wordStart, -1);  // the finished words' width changes with the size
        s.Do(setFormat(messageField, fontSize, letters));
        s.Do(setFormat(lineField, fontSize, letters));
        s.Do(setFormat(measureField, fontSize, letters));
        s.Set(caret["transform"]["colorTransform"], caretInk);
        s.Set(caret["_yscale"], 100 * fontSize / kTextSizes.front());  // as tall as a line
    });
}

// Lays the whole message out at each size of the ladder until it fits the field; the smallest
// when none does. Then the ink for the picture under it, and the height of one line.
void DefineFitMessage(const ScriptBuilder& s) {
    s.Function(fitMessage, {}, [&] {
        const Expr step = s.Local("step", 0);
        s.Set(fontSize, textSizes[step]);
        s.Do(applyStyle());
        s.Set(messageField["text"], message);
        s.While(messageField["maxscroll"] > 1 && step < textSizes["length"] - 1, [&] {
            s.Set(step, step + 1);
            s.Set(fontSize, textSizes[step]);
            s.Do(applyStyle());
        });
        s.Do(chooseInk());
        s.Do(applyStyle());
        s.Set(measureField["text"], "X");
        s.Set(lineHeight, measureField["textHeight"]);
        s.Set(rows, messageField["bottomScroll"]);
    });
}

// Clears the banner and types the message just read.
void DefineStartTyping(const ScriptBuilder& s) {
    s.Function(startTyping, {}, [&] {
        s.Set(resting, false);
        s.Do(fitMessage());
        s.Trace("file " + fileNumber + " speed " + speed + " size " + fontSize + " url " + theUrl);
        s.Set(typed, 0);
        s.Do(clearText());
        s.Set(timer, setInterval(typeNextLetter, speed));
    });
}

// Shows one more letter, or holds the finished message and moves on.
void DefineTypeNextLetter(const ScriptBuilder& s) {
    s.Function(typeNextLetter, {}, [&] {
        s.If(
            typed < message["length"],
            [&] {
                s.Set(typed, typed + 1);
                s.Set(shown, message.Call("substring", 0, typed));
                s.Do(showText(shown));
                s.Trace("typed " + fileNumber + " " + shown);
            },
            [&] {
                s.Do(clearInterval(timer));
                const Expr hold = s.Local("hold", holdTime());
                s.Trace("hold " + fileNumber + " " + hold);
                s.Set(timer, setInterval(loadNextFile, hold));
                s.Set(blinkTimer, setInterval(blinkCaret, kBlinkMs));
            });
    });
}

// How long the finished message stays: its letters on the banner read at 20 a second, and at
// least 2 seconds. When it has scrolled, the letters on the banner are its share of the lines. A
// player that does not report the field's scroll lines leaves the share not a number, which
// would end the hold at once: the whole message is held then, as one that never scrolled.
void DefineHoldTime(const ScriptBuilder& s) {
    s.Function(holdTime, {}, [&] {
        const Expr visibleLines =
            s.Local("visibleLines", messageField["bottomScroll"] - messageField["scroll"] + 1);
        const Expr lines = s.Local("lines", messageField["maxscroll"] - 1 + visibleLines);
        const Expr share = s.Local("share", visibleLines / lines);
        // A comparison with a value that is not a number never holds.
        s.If(!(share < 1), [&] { s.Set(share, 1); });
        s.Return(
            Math.Call("max", kShortestHoldMs, kReadingMsPerLetter * message["length"] * share));
    });
}

// Sets the text of a text layer, and of its outline copies where they are the halo. An empty
// layer is hidden: the player would still draw its kept pixels.
void DefineSetLayerText(const ScriptBuilder& s) {
    const Expr layer = Var("layer");
    const Expr text = Var("text");
    s.Function(setLayerText, {layer, text}, [&] {
        s.Set(layer[kLettersName]["text"], text);
        s.Set(layer["_visible"], text != "");
        s.If(!glowHalo, [&] {
            for (const Expr& copy : OutlineCopies(layer)) s.Set(copy["text"], text);
        });
    });
}

// Shows t, with the caret after it.
//
// Letters only ever come one at a time after a clear, so the start of the line being typed is
// followed as the text grows: it is laid out in the line field, and when a letter makes it break,
// the part of its word after the last space or hyphen has moved to a new line (or, longer than a
// line, broken inside it), as the player breaks lines. The lines above the line being typed (as
// many as the banner shows, each ended by a line break) are one layer, which changes only when a
// line begins. The line being typed is two: its finished words, which change once a word, and
// after them the word being typed, the only text laid out and drawn again at every letter. A
// player that keeps a filtered layer's pixels then draws a few letters and their halo per letter,
// not a whole line.
void DefineShowText(const ScriptBuilder& s, const TextArea& area) {
    const Expr t = Var("t");
    s.Function(showText, {t}, [&] {
        s.Set(lineField["text"], t.Call("substr", lineStart));
        // More than a line and a half: the letter began a line.
        s.If(lineField["textHeight"] * 2 > lineHeight * 3, [&] {
            // Lines break after a line break, and after a space or a hyphen that has more after it.
            const Expr beforeLast = t["length"] - 2;
            const Expr breakAt = s.Local(
                "breakAt", Math.Call("max", t.Call("lastIndexOf", "\n"),
                                     Math.Call("max", t.Call("lastIndexOf", " ", beforeLast),
                                               t.Call("lastIndexOf", "-", beforeLast))) +
                               1);
            s.If(breakAt <= lineStart, [&] { s.Set(breakAt, t["length"] - 1); });
            s.Set(lineStart, breakAt);
            s.Do(lineStarts.Call("push", lineStart));
            // The lowest row shows the line being typed; the lines above it move up.
            s.Set(row, Math.Call("min", lineStarts["length"] - 1, rows - 1));
            const Expr above = s.Local("above", "");
            const Expr i = s.Local("i", lineStarts["length"] - 1 - row);
            s.While(i < lineStarts["length"] - 1, [&] {
                const Expr line =
                    s.Local("line", t.Call("substring", lineStarts[i], lineStarts[i + 1]));
                // A line the message breaks itself ends in its line break already.
                s.If(line.Call("charAt", line["length"] - 1) != "\n",
                     [&] { s.Set(line, line + "\n"); });
                s.Set(above, above + line);
                s.Set(i, i + 1);
            });
            s.Do(setLayerText(earlierLines, above.Call("substr", 0, above["length"] - 1)));
            s.Set(lastLine["_y"], row * lineHeight);
            s.Set(lastWord["_y"], row * lineHeight);
            s.Set(wordStart, -1);
        });
        // The word being typed begins after the line's last space or hyphen.
        const Expr typing = s.Local("typing", t.Call("substr", lineStart));
        const Expr split = s.Local("split", lineStart +
                                                Math.Call("max", typing.Call("lastIndexOf", " "),
                                                          typing.Call("lastIndexOf", "-")) +
                                                1);
        s.If(split != wordStart, [&] {
            s.Set(wordStart, split);
            s.Do(setLayerText(lastLine, t.Call("substring", lineStart, wordStart)));
            // Left-aligned text measures its trailing spaces.
            s.Set(lastWord["_x"], lastLine[kLettersName]["textWidth"]);
        });
        s.Do(setLayerText(lastWord, t.Call("substr", wordStart)));
        s.Set(caret["_x"], Math.Call("min",
                                     area.left + kTextGutter + lastWord["_x"] +
                                         lastWord[kLettersName]["textWidth"],
                                     area.right - kTextGutter));
        s.Set(caret["_y"], area.top + row * lineHeight);
        s.Set(caret["_visible"], true);  // solid while typing
        // Drawn now: the movie's own frames are few.
        s.Do(updateAfterEvent());
    });
}

// Empties the banner; the caret stops blinking and stands, solid, at the start of the first line.
void DefineClearText(const ScriptBuilder& s) {
    s.Function(clearText, {}, [&] {
        s.Do(clearInterval(blinkTimer));
        s.Set(lineStart, 0);
        s.Set(lineStarts, ArrayOf({0}));
        s.Set(row, 0);
        s.Set(lastLine["_y"], 0);
        s.Set(lastWord["_y"], 0);
        s.Set(wordStart, -1);
        s.Set(shown, "");
        s.Do(setLayerText(earlierLines, shown));
        s.Do(showText(shown));
    });
}

// While a finished message is held.
void DefineBlinkCaret(const ScriptBuilder& s) {
    s.Function(blinkCaret, {}, [&] {
        s.Set(caret["_visible"], !caret["_visible"]);
        s.Trace("caret " + caret["_visible"]);
        s.Do(updateAfterEvent());
    });
}

}  // namespace

std::string OutlineCopyName(std::uint16_t index) {
    return "outline" + std::to_string(index + 1);
}

std::string BuildFrameScript(const TextArea& area) {
    ActionAssembler assembler;
    const ScriptBuilder s(assembler);
    DefineLoadNextFile(s);
    DefineReceiveFile(s);
    DefineReadFile(s);
    DefineIsHexDigit(s);
    DefineRestoreText(s);
    DefineIsBlank(s);
    DefineWaitForFile(s);
    DefineRest(s);
    DefineReadPicture(s);
    DefineChooseInk(s, area);
    DefineSetFormat(s);
    DefineStyleLayer(s);
    DefineApplyStyle(s);
    DefineFitMessage(s);
    DefineStartTyping(s);
    DefineTypeNextLetter(s);
    DefineHoldTime(s);
    DefineSetLayerText(s);
    DefineShowText(s, area);
    DefineClearText(s);
    DefineBlinkCaret(s);

    WriteStartUp(s);  // after the functions it calls
    return assembler.Finish();
}

std::string BuildClickScript() {
    ActionAssembler assembler;
    const ScriptBuilder s(assembler);
    // Nothing before a file has been read.
    s.If(theUrl["length"] > 0, [&] { s.GetUrl(theUrl, "_blank", kGetUrlInWindow); });
    return assembler.Finish();
}

}  // namespace bannermovie

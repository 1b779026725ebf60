// The banner's two scripts. Each statement is written as the ActionScript it carries out.
//
// How a variable file is read. Its text is loaded raw (LoadVars.onData receives it unparsed) and
// taken apart by the file's fixed layout, never decoded as form data, so a message keeps its
// "&", "+", "%" and "=". Players differ in how they turn the file's single-byte Windows-1252 text
// into characters: with System.useCodepage set, some decode the raw text by the code page, but
// some decode it as UTF-8 and honour the code page only for form data (loadVariables). So the
// file is also loaded as form data into an empty clip, and every run of letters the raw text could
// not decode is taken from the same place in that copy: the raw text fixes every ASCII character
// exactly, the form copy only supplies letters beyond ASCII.
//
// Every typed prefix is traced: players show no trace output to a visitor, and a test can follow
// the typing letter by letter through it.
#include "banner_script.h"

#include "action_assembler.h"
#include "script_builder.h"

namespace bannermovie {
namespace {

constexpr std::int32_t kFileCount = 4;
constexpr std::int32_t kDefaultSpeedMs = 50;
constexpr std::int32_t kPollIntervalMs = 100;
constexpr std::int32_t kPollsBeforeGivingUp = 30;  // a file that has not arrived in 3 s is skipped
constexpr std::int32_t kHoldMs = 2000;             // the finished message stays this long
constexpr std::int32_t kBlinkMs = 530;             // the caret's on and off time, as desktops use
constexpr std::int32_t kTextGutter = 2;  // pixels between a text field's edge and its text
constexpr std::int32_t kFormCopyDepth = 100;
constexpr std::int32_t kFirstNonAscii = 128;
constexpr const char* kFormCopyName = "fileData";
constexpr const char* kHexDigits = "0123456789abcdefABCDEF";

// The file's fixed layout: the markers that open lines 3, 4 and 7 and the one that closes line 4.
constexpr const char* kSpeedMarker = "\r\n&speed=";
constexpr std::int32_t kSpeedMarkerLength = 9;
constexpr const char* kUrlMarker = "\r\n&theUrl=";
constexpr std::int32_t kUrlMarkerLength = 10;
constexpr const char* kUrlEndMarker = "&\r\n//The variable";
constexpr const char* kMessageMarker = "\r\n&txt=";
constexpr std::int32_t kMessageMarkerLength = 7;

using Expr = ScriptBuilder::Expr;

// function loadNextFile(): starts loading the next variable file, 1 to 4 and round again.
void DefineLoadNextFile(const ScriptBuilder& s) {
    s.Function("loadNextFile", {}, [&] {
        s.Do(s.Call("clearInterval", {s.Var("timer")}));
        // fileNumber = fileNumber % 4 + 1;
        s.Set(
            "fileNumber",
            s.Add(s.Binary(ActionCode::Modulo, s.Var("fileNumber"), s.Int(kFileCount)), s.Int(1)));
        s.Set("usable", s.Bool(false));
        s.Set("polls", s.Int(0));
        s.Local("fileName", s.Add(s.Add(s.Text("mytext"), s.Var("fileNumber")), s.Text(".txt")));
        // loader = new LoadVars(); loader.onData = receiveFile; loader.load(fileName);
        s.Set("loader", s.New("LoadVars"));
        s.SetMember(s.Var("loader"), "onData", s.Var("receiveFile"));
        s.Do(s.Method(s.Var("loader"), "load", {s.Var("fileName")}));
        // createEmptyMovieClip("fileData", 100); loadVariables(fileName, "fileData");
        // (a fresh clip holds no variables of the file before)
        s.Do(s.Call("createEmptyMovieClip", {s.Text(kFormCopyName), s.Int(kFormCopyDepth)}));
        s.GetUrl(s.Var("fileName"), s.Text(kFormCopyName), kGetUrlLoadVariables);
        // timer = setInterval(waitForFile, 100);
        s.Set("timer", s.Call("setInterval", {s.Var("waitForFile"), s.Int(kPollIntervalMs)}));
    });
}

// function receiveFile(text): LoadVars.onData, with the file's raw text (undefined on failure).
void DefineReceiveFile(const ScriptBuilder& s) {
    s.Function("receiveFile", {"text"}, [&] {
        // if (this == loader) usable = readFile(text);   // not a late answer for a file given up
        s.If(s.Equals(s.Var("this"), s.Var("loader")),
             [&] { s.Set("usable", s.Call("readFile", {s.Var("text")})); });
    });
}

// function readFile(text): takes speed, rawUrl and rawMessage from the raw text by the file's
// fixed layout; false when there is no text or it is not laid out as a variable file.
void DefineReadFile(const ScriptBuilder& s) {
    s.Function("readFile", {"text"}, [&] {
        const Expr text = s.Var("text");
        s.If(s.Not(s.Equals(s.TypeOf(text), s.Text("string"))), [&] { s.Return(s.Bool(false)); });
        s.Local("speedAt", s.Method(text, "indexOf", {s.Text(kSpeedMarker)}));
        s.Local("urlAt", s.Method(text, "indexOf", {s.Text(kUrlMarker), s.Var("speedAt")}));
        // The address ends where the comment line begins: an address may itself hold "&".
        s.Local("urlEnd", s.Method(text, "indexOf", {s.Text(kUrlEndMarker), s.Var("urlAt")}));
        // The message follows the first "&txt=" line after the comment lines.
        s.Local("messageAt", s.Method(text, "indexOf", {s.Text(kMessageMarker), s.Var("urlEnd")}));
        const auto missing = [&](const char* at) { return s.Less(s.Var(at), s.Int(0)); };
        s.If(s.Or(s.Or(missing("speedAt"), missing("urlAt")),
                  s.Or(missing("urlEnd"), missing("messageAt"))),
             [&] { s.Return(s.Bool(false)); });

        // speed = Number(text.substring(speedAt + 9, text.indexOf("&", speedAt + 9)));
        const Expr speedFrom = s.Add(s.Var("speedAt"), s.Int(kSpeedMarkerLength));
        s.Set("speed", s.ToNumber(s.Method(
                           text, "substring",
                           {speedFrom, s.Method(text, "indexOf", {s.Text("&"), speedFrom})})));
        // if (!(0 < speed)) speed = 50;   // also when it is not a number
        s.If(s.Not(s.Less(s.Int(0), s.Var("speed"))),
             [&] { s.Set("speed", s.Int(kDefaultSpeedMs)); });
        // rawUrl = text.substring(urlAt + 10, urlEnd); rawMessage = text.substr(messageAt + 7);
        s.Set("rawUrl",
              s.Method(text, "substring",
                       {s.Add(s.Var("urlAt"), s.Int(kUrlMarkerLength)), s.Var("urlEnd")}));
        s.Set("rawMessage",
              s.Method(text, "substr", {s.Add(s.Var("messageAt"), s.Int(kMessageMarkerLength))}));
        s.Return(s.Bool(true));
    });
}

// function isHexDigit(c): c is one hexadecimal digit, as after a "%" that form data decodes.
void DefineIsHexDigit(const ScriptBuilder& s) {
    s.Function("isHexDigit", {"c"}, [&] {
        s.Return(
            s.And(s.Equals(s.Member(s.Var("c"), "length"), s.Int(1)),
                  s.Not(s.Less(s.Method(s.Text(kHexDigits), "indexOf", {s.Var("c")}), s.Int(0)))));
    });
}

// function restoreText(raw, firstName): raw (a piece of the raw text that starts in the value of
// the form pair firstName) with each run of letters beyond ASCII taken from the form copy.
//
//   var names = [the form copy's variable names in file order];
//   var index = names.indexOf(firstName);
//   var decoded = fileData[firstName];  // the form copy's text of the pair part raw is in
//   var inName = false, at = 0, out = "", i = 0;
//   while (i < raw.length) {
//       if (raw has a letter beyond ASCII at i) { copy the run from decoded at `at`; continue; }
//       var c = raw.charAt(i);
//       if (c == "&") { index++; decoded = names[index]; inName = true; at = 0; }
//       else if (inName && c == "=") { decoded = fileData[names[index]]; inName = false; at = 0; }
//       else { if (c is "%" and two hex digits) { c = raw.substr(i, 3); i += 2; } at++; }
//       out += c; i++;
//   }
//   return out;
void DefineRestoreText(const ScriptBuilder& s) {
    const Expr raw = s.Var("raw");
    const Expr formCopy = s.Var(kFormCopyName);
    const auto beyondAscii = [&](Expr text, Expr at) {
        return s.Less(s.Int(kFirstNonAscii - 1), s.Method(text, "charCodeAt", {at}));
    };
    const auto step = [&](const char* name) { s.Set(name, s.Add(s.Var(name), s.Int(1))); };
    const auto keep = [&](Expr piece) { s.Set("out", s.Add(s.Var("out"), piece)); };
    const auto startPairPart = [&](Expr text, bool inName) {
        s.Set("decoded", text);
        s.Set("inName", s.Bool(inName));
        s.Set("at", s.Int(0));
    };

    // A run the raw text may have decoded wrongly: the form copy's run at `at` replaces it (the
    // raw run stays when the copy has none there).
    const auto copyRunBeyondAscii = [&] {
        s.Local("runEnd", s.Var("i"));
        s.While(beyondAscii(raw, s.Var("runEnd")), [&] { step("runEnd"); });
        s.Local("take", s.Var("at"));
        s.While(beyondAscii(s.Var("decoded"), s.Var("take")), [&] { step("take"); });
        s.If(
            s.Less(s.Var("at"), s.Var("take")),
            [&] {
                keep(s.Method(s.Var("decoded"), "substring", {s.Var("at"), s.Var("take")}));
            },
            [&] {
                keep(s.Method(raw, "substring", {s.Var("i"), s.Var("runEnd")}));
            });
        s.Set("at", s.Var("take"));
        s.Set("i", s.Var("runEnd"));
    };

    // An ASCII character: kept as it is; it moves the place in the form copy along.
    const auto copyAsciiCharacter = [&] {
        s.Local("c", s.Method(raw, "charAt", {s.Var("i")}));
        const Expr isPercentEscape = s.And(
            s.Equals(s.Var("c"), s.Text("%")),
            s.And(s.Call("isHexDigit", {s.Method(raw, "charAt", {s.Add(s.Var("i"), s.Int(1))})}),
                  s.Call("isHexDigit", {s.Method(raw, "charAt", {s.Add(s.Var("i"), s.Int(2))})})));
        s.If(
            s.Equals(s.Var("c"), s.Text("&")),
            [&] {  // the next pair begins: its name
                step("index");
                startPairPart(s.Index(s.Var("names"), s.Var("index")), true);
            },
            [&] {
                s.If(
                    s.And(s.Var("inName"), s.Equals(s.Var("c"), s.Text("="))),
                    [&] {  // the pair's value
                        startPairPart(s.Index(formCopy, s.Index(s.Var("names"), s.Var("index"))),
                                      false);
                    },
                    [&] {
                        // "%" and two hex digits are one character in the form copy.
                        s.If(isPercentEscape, [&] {
                            s.Set("c", s.Method(raw, "substr", {s.Var("i"), s.Int(3)}));
                            s.Set("i", s.Add(s.Var("i"), s.Int(2)));
                        });
                        step("at");
                    });
            });
        keep(s.Var("c"));
        step("i");
    };

    s.Function("restoreText", {"raw", "firstName"}, [&] {
        // The form pairs in file order: for..in lists them newest first.
        s.Local("names", s.New("Array"));
        s.ForIn(formCopy, "name",
                [&] { s.Do(s.Method(s.Var("names"), "unshift", {s.Var("name")})); });
        s.Local("index", s.Int(0));
        s.While(s.And(s.Less(s.Var("index"), s.Member(s.Var("names"), "length")),
                      s.Not(s.Equals(s.Index(s.Var("names"), s.Var("index")), s.Var("firstName")))),
                [&] { step("index"); });
        s.Local("decoded", s.Index(formCopy, s.Var("firstName")));
        s.Local("inName", s.Bool(false));
        s.Local("at", s.Int(0));
        s.Local("out", s.Text(""));
        s.Local("i", s.Int(0));
        s.While(s.Less(s.Var("i"), s.Member(raw, "length")), [&] {
            s.If(beyondAscii(raw, s.Var("i")), copyRunBeyondAscii, copyAsciiCharacter);
        });
        s.Return(s.Var("out"));
    });
}

// function waitForFile(): polls until both copies of the file are in, or gives up on it.
void DefineWaitForFile(const ScriptBuilder& s) {
    s.Function("waitForFile", {}, [&] {
        s.Set("polls", s.Add(s.Var("polls"), s.Int(1)));
        const Expr givingUp = s.Not(s.Less(s.Var("polls"), s.Int(kPollsBeforeGivingUp)));
        const Expr formCopyIn = s.Equals(s.Member(s.Var(kFormCopyName), "loaded"), s.Text("yes"));
        // if (usable && (fileData.loaded == "yes" || polls >= 30)) {
        s.If(
            s.And(s.Var("usable"), s.Or(formCopyIn, givingUp)),
            [&] {
                s.Do(s.Call("clearInterval", {s.Var("timer")}));
                // theUrl = restoreText(rawUrl, "theUrl");
                s.Set("theUrl", s.Call("restoreText", {s.Var("rawUrl"), s.Text("theUrl")}));
                // message = restoreText(rawMessage, "txt").split("\r\n").join("\n");
                // (each line break of the file is one line break on the banner)
                const Expr restored = s.Call("restoreText", {s.Var("rawMessage"), s.Text("txt")});
                s.Set("message", s.Method(s.Method(restored, "split", {s.Text("\r\n")}), "join",
                                          {s.Text("\n")}));
                s.Do(s.Call("startTyping", {}));
            },
            [&] {
                // } else if (polls >= 30) { trace("skipped " + fileNumber); loadNextFile(); }
                s.If(givingUp, [&] {
                    s.Trace(s.Add(s.Text("skipped "), s.Var("fileNumber")));
                    s.Do(s.Call("loadNextFile", {}));
                });
            });
    });
}

// function startTyping(): clears the banner and types the message just read.
void DefineStartTyping(const ScriptBuilder& s) {
    s.Function("startTyping", {}, [&] {
        // trace("file " + fileNumber + " speed " + speed + " url " + theUrl);
        s.Trace(
            s.Add(s.Add(s.Add(s.Add(s.Add(s.Text("file "), s.Var("fileNumber")), s.Text(" speed ")),
                              s.Var("speed")),
                        s.Text(" url ")),
                  s.Var("theUrl")));
        s.Set("typed", s.Int(0));
        s.Do(s.Call("clearText", {}));
        s.Set("timer", s.Call("setInterval", {s.Var("typeNextLetter"), s.Var("speed")}));
    });
}

// function typeNextLetter(): shows one more letter, or holds the finished message and moves on.
void DefineTypeNextLetter(const ScriptBuilder& s) {
    s.Function("typeNextLetter", {}, [&] {
        s.If(
            s.Less(s.Var("typed"), s.Member(s.Var("message"), "length")),
            [&] {
                s.Set("typed", s.Add(s.Var("typed"), s.Int(1)));
                s.Set("shown", s.Method(s.Var("message"), "substring", {s.Int(0), s.Var("typed")}));
                s.Do(s.Call("showText", {s.Var("shown")}));
                // trace("typed " + fileNumber + " " + shown);
                s.Trace(s.Add(s.Add(s.Add(s.Text("typed "), s.Var("fileNumber")), s.Text(" ")),
                              s.Var("shown")));
            },
            [&] {
                s.Do(s.Call("clearInterval", {s.Var("timer")}));
                s.Set("timer", s.Call("setInterval", {s.Var("loadNextFile"), s.Int(kHoldMs)}));
                s.Set("blinkTimer", s.Call("setInterval", {s.Var("blinkCaret"), s.Int(kBlinkMs)}));
            });
    });
}

// function showText(t): shows t in the message field and its outline, with the caret after it.
//
// The caret goes after the last line's text. Letters only ever come one at a time after a clear,
// so the last line's start is followed as the text grows: when a letter makes the text taller,
// the word it belongs to has moved to a new line (or, longer than a line, broken inside it).
void DefineShowText(const ScriptBuilder& s, const TextArea& area) {
    s.Function("showText", {"t"}, [&] {
        const Expr t = s.Var("t");
        s.SetMember(s.Var(kMessageFieldName), "text", t);
        for (std::uint16_t i = 0; i < kOutlineCopyCount; ++i) {
            s.SetMember(s.Var(OutlineCopyName(i)), "text", t);
        }
        s.Local("height", s.Member(s.Var(kMessageFieldName), "textHeight"));
        s.If(s.Less(s.Var("shownHeight"), s.Var("height")), [&] {
            // var wordStart = Math.max(t.lastIndexOf(" "), t.lastIndexOf("\n")) + 1;
            s.Local("wordStart", s.Add(s.Method(s.Var("Math"), "max",
                                                {s.Method(t, "lastIndexOf", {s.Text(" ")}),
                                                 s.Method(t, "lastIndexOf", {s.Text("\n")})}),
                                       s.Int(1)));
            // if (!(lineStart < wordStart)) wordStart = t.length - 1;
            s.If(s.Not(s.Less(s.Var("lineStart"), s.Var("wordStart"))), [&] {
                s.Set("wordStart", s.Binary(ActionCode::Subtract, s.Member(t, "length"), s.Int(1)));
            });
            s.Set("lineStart", s.Var("wordStart"));
        });
        s.Set("shownHeight", s.Var("height"));
        // caret._x = Math.min(left + 2 + width of the last line, right - 2);
        s.SetMember(s.Var(kMeasureFieldName), "text", s.Method(t, "substr", {s.Var("lineStart")}));
        s.SetMember(s.Var(kCaretName), "_x",
                    s.Method(s.Var("Math"), "min",
                             {s.Add(s.Int(area.left + kTextGutter),
                                    s.Member(s.Var(kMeasureFieldName), "textWidth")),
                              s.Int(area.right - kTextGutter)}));
        // caret._y = top + Math.max(0, height - lineHeight);   // the last line's top
        s.SetMember(s.Var(kCaretName), "_y",
                    s.Add(s.Int(area.top),
                          s.Method(s.Var("Math"), "max",
                                   {s.Int(0), s.Binary(ActionCode::Subtract, s.Var("height"),
                                                       s.Var("lineHeight"))})));
        s.SetMember(s.Var(kCaretName), "_visible", s.Bool(true));  // solid while typing
    });
}

// function clearText(): empties the banner; the caret stops blinking and stands, solid, at the
// start of the first line.
void DefineClearText(const ScriptBuilder& s) {
    s.Function("clearText", {}, [&] {
        s.Do(s.Call("clearInterval", {s.Var("blinkTimer")}));
        s.Set("lineStart", s.Int(0));
        s.Set("shownHeight", s.Int(0));
        s.Do(s.Call("showText", {s.Text("")}));
    });
}

// function blinkCaret(): while a finished message is held.
void DefineBlinkCaret(const ScriptBuilder& s) {
    s.Function("blinkCaret", {}, [&] {
        s.SetMember(s.Var(kCaretName), "_visible", s.Not(s.Member(s.Var(kCaretName), "_visible")));
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
    DefineWaitForFile(s);
    DefineStartTyping(s);
    DefineTypeNextLetter(s);
    DefineShowText(s, area);
    DefineClearText(s);
    DefineBlinkCaret(s);

    // The measuring field is never shown; the height of one line of text is measured once.
    s.SetMember(s.Var(kMeasureFieldName), "_visible", s.Bool(false));
    s.SetMember(s.Var(kMeasureFieldName), "text", s.Text("X"));
    s.Set("lineHeight", s.Member(s.Var(kMeasureFieldName), "textHeight"));
    s.Do(s.Call("clearText", {}));  // the caret waits at the start for the first message
    // System.useCodepage = true;   // the files are single-byte Windows-1252 text
    s.SetMember(s.Var("System"), "useCodepage", s.Bool(true));
    assembler.Emit(ActionCode::Stop);
    // loadMovie("mypic.jpg", "backdrop");   // nothing happens when the picture is missing
    s.GetUrl(s.Text("mypic.jpg"), s.Text(kBackdropName), kGetUrlLoadTarget);
    s.Set("fileNumber", s.Int(0));
    s.Do(s.Call("loadNextFile", {}));
    return assembler.Finish();
}

std::string BuildClickScript() {
    ActionAssembler assembler;
    const ScriptBuilder s(assembler);
    // if (0 < theUrl.length) getURL(theUrl, "_blank");   // nothing before a file has been read
    s.If(s.Less(s.Int(0), s.Member(s.Var("theUrl"), "length")),
         [&] { s.GetUrl(s.Var("theUrl"), s.Text("_blank"), kGetUrlInWindow); });
    return assembler.Finish();
}

}  // namespace bannermovie

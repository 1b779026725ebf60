// Plays banner packages made by Quillbeam's Generate command in headless Chromium with Ruffle,
// served from 127.0.0.1, and checks what the movie types and where a click goes.
//
//   node playback_check.mjs MAKE_PACKAGE APPLICATION_FOLDER OUTPUT_FOLDER
//
// The movie traces every prefix it shows ("typed N text"), each file it loads ("loading N"),
// starts ("file N speed S size Z url U"), passes over as blank ("empty N") or gives up on
// ("skipped N"), the hold it sets for a finished message ("hold N ms"), each blink of the caret
// ("caret true" when it shows, "caret false") and its rest when every file is blank ("resting").
// The check reads those through Ruffle's trace observer and judges the movie by them: by their
// order, by the values the movie chose, and by the movie's own clock, never by how long the
// machine took. That clock is the one Ruffle runs the movie's timers on: the animation frames'
// times, less the frames during which the check held the player still. The check holds the player
// still right after chosen traces, so that a screenshot shows exactly the state those traces
// describe, however slow the machine is.
import { execFileSync } from 'node:child_process';
import fs from 'node:fs';
import path from 'node:path';

import { chromium } from 'playwright-core';

import {
    boundsOf, brightMask, caretPlace, checkCaretPlace, checkLegibility, luminanceOf, misreadLetters,
    preparePictureSites, readBack, SPEED_MS as PICTURE_SPEED_MS,
} from './legibility.mjs';
import { PAGE_NAME, readmeRuffleLines, ruffleOverlaysShown, writeReadmePage } from './readme_page.mjs';
import { startServer } from './local_server.mjs';

const [makePackage, applicationFolder, outputFolder] = process.argv.slice(2);
if (!outputFolder) {
    console.error('usage: node playback_check.mjs MAKE_PACKAGE APPLICATION_FOLDER OUTPUT_FOLDER');
    process.exit(2);
}

const CHROMIUM = '/usr/bin/chromium';
// Guards against a hang, never judgements: the whole check, and any one wait for the browser or
// for the movie's next trace (the movie traces at least every 3 s of its own time while it plays).
const OVERALL_LIMIT_MS = 1_500_000;
const GUARD_MS = 120_000;
// The most of the movie's time one animation frame may take (see pageSetup).
const MOVIE_STEP_MS = 50;
const CLICK_URL = 'offers/index.html?from=banner&week=1';
// As typed in the window: a line break is CR LF.
const MESSAGES = [
    'Welcome to our shop!\r\nNew offers every week',
    'Fish & chips für 2 € + peas: 100% = happy',
    'Müller’s café crème, €2 “to go”',
    'Click here for this week’s offers: fresh bread, local cheese and a free coffee with every order',
];
const EDITED_SPEED = 120;

// Messages of every length, typed fast (the pace is checked above): one word longer than a line,
// blank ones, one that fits only at a smaller size and one that scrolls even at the smallest.
const LONG_WORD = 'www.example.com/offers/summer-sale/books-maps-and-prints/half-price-all-weekend/members-free-shipping';
const FITS_SMALLER = 'Our summer sale starts on Saturday at 9 a.m.: every book, map and print in the shop is half ' +
    'price for the whole weekend, and our loyal club members get free shipping on printed posters, too. Tell ' +
    'your friends and come early!';
const SCROLLS = 'Opening hours this week: Monday to Friday from nine in the morning until seven in the evening, ' +
    'Saturday from ten until six, and Sunday closed. The coffee bar on the first floor serves breakfast until ' +
    'eleven and lunch until three, with soup, sandwiches and cakes baked in our own kitchen. Members collect ' +
    'points with every purchase and get a birthday voucher each year. Ask at the till for the new catalogue, ' +
    'and follow us for the dates of readings, signings and the winter market.';
const FAST_SPEED = 5;
// Messages whose size is known without the movie: lines too short to wrap, so that their number
// decides. The banner shows 3 lines at 20 and 18 pixels, 4 at 16 and 14, 5 at 12: each message
// takes the largest size at which all its lines show, and one of 7 lines scrolls at 12. No letter
// of theirs reaches below the line, so that the lines on a screenshot stand apart.
const ROWS_AT_SIZE = { 20: 3, 18: 3, 16: 4, 14: 4, 12: 5 };
const LINES = ['One', 'Two', 'Three', 'Four', 'Five', 'Six', 'Seven'];
const FIT_CASES = [[3, 20], [4, 16], [5, 12], [7, 12]].map(([lines, size]) => ({
    message: LINES.slice(0, lines).join('\r\n'), size,
}));
// Typed slower than the others: the pause while scrolling comes at the last line's first letter,
// and the player runs on for up to two animation frames, each up to MOVIE_STEP_MS of the movie's
// time (the one with the letter, and the one that draws it), before it is held still. The last
// line's other four letters take longer than that, so the screenshot shows the banner scrolling,
// not the message finished.
const FIT_SPEED = 40;
const LENGTH_CASES = {
    long: [LONG_WORD, '', ' \r\n \r\n ', FITS_SMALLER],
    scroll: [SCROLLS, 'Short one', 'Last', ''],
    blank: ['', ' ', '\r\n', ' \r\n\r\n '],
    fit: FIT_CASES.map(({ message }) => message),
};
const TOP_SIZE = 20, FLOOR_SIZE = 12;
// The message field on the stage, in pixels: its right edge, and its top and bottom.
const TEXT_RIGHT = 460, TEXT_TOP = 4, TEXT_BOTTOM = 96;
// Addresses a click must open exactly as typed, each in a package of blank messages: one
// character, the characters form data decodes ("&", "=", "+", "%"), spaces, letters beyond ASCII
// and one longer than a line of the banner.
const CLICK_ADDRESSES = [
    'x',
    'shop.php?item=fish&chips=2+peas&off=100%25',
    'summer sale/half%20price/%zz/café/50%25-off/menü-für-2€.html',
    'menü.php?dish=fish&side=pommes+frites&price=2€',
    `offers/${'and-more-'.repeat(30)}end.html`,
];
const MOST_MISREAD = 0.03;  // of the letters, read back by OCR

class CheckFailure extends Error {}
function fail(message) {
    throw new CheckFailure(message);
}

// What the banner should show for a message: each line break as one break.
const shownText = (message) => message.replaceAll('\r\n', '\n');
const printable = (text) => JSON.stringify(text);
const sum = (values) => values.reduce((total, value) => total + value, 0);
// A pattern that matches exactly one trace line.
const exactly = (text) => `^${text.replace(/[.*+?^${}()|[\]\\]/g, '\\$&')}$`;

// ---- Packages -------------------------------------------------------------------------------

function generatePackage(folder, messages = MESSAGES, url = CLICK_URL) {
    fs.mkdirSync(folder, { recursive: true });
    const output = execFileSync(makePackage, [folder, applicationFolder, url, ...messages],
                                { encoding: 'utf8' });
    if (!output.startsWith('Quillbeam: Done!')) fail(`Generate did not complete: ${output}`);
}

// Edits a generated file's speed, as a user may by hand.
function editSpeed(folder, number, speed) {
    const file = path.join(folder, `mytext${number}.txt`);
    const bytes = fs.readFileSync(file, 'latin1');
    if (!bytes.includes('\r\n&speed=50&\r\n')) fail(`mytext${number}.txt does not carry speed 50`);
    fs.writeFileSync(file, bytes.replace('&speed=50&', `&speed=${speed}&`), 'latin1');
}

function prepareSite(site) {
    fs.rmSync(site, { recursive: true, force: true });
    fs.mkdirSync(site, { recursive: true });
    // As generated.
    generatePackage(path.join(site, 'generated'));
    for (const folder of preparePictureSites(site, path.join(site, 'generated'))) editSpeed(folder, 1, PICTURE_SPEED_MS);
    // Edited by hand afterwards: a slower speed in file 2, and file 3 missing.
    const edited = path.join(site, 'edited');
    generatePackage(edited);
    editSpeed(edited, 2, EDITED_SPEED);
    fs.rmSync(path.join(edited, 'mytext3.txt'));
    prepareDefaultSpeedPackage(path.join(site, 'defaults'));
    for (const [name, messages] of Object.entries(LENGTH_CASES)) {
        generatePackage(path.join(site, name), messages);
        for (const number of [1, 2, 3, 4]) editSpeed(path.join(site, name), number, name === 'fit' ? FIT_SPEED : FAST_SPEED);
    }
    CLICK_ADDRESSES.forEach((address, i) => generatePackage(path.join(site, `click-${i}`), ['', '', '', ''], address));
    // Every package is played in the page the README tells users to write around it.
    const lines = readmeRuffleLines();
    for (const folder of fs.readdirSync(site)) writeReadmePage(path.join(site, folder), lines);
}

// ---- Server and browser ---------------------------------------------------------------------


async function launchBrowser(profile) {
    return chromium.launchPersistentContext(profile, {
        executablePath: CHROMIUM,
        headless: true,
        viewport: { width: 640, height: 240 },
        args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
               '--disable-background-networking', '--disable-component-update', '--disable-sync',
               '--host-resolver-rules=MAP * ~NOTFOUND , EXCLUDE 127.0.0.1'],
    });
}

// Runs in the page before its own markup: a trace collector that hooks into the player as soon as
// the movie's metadata is known (earlier hooks are dropped), the movie's clock, and the hooks that
// hold the player still. It sets nothing of Ruffle's: Ruffle's settings are the README's, in the
// page.
//
// Ruffle advances the movie's timers once an animation frame, by the time between that frame's
// timestamp and the one before, and not at all while the player is suspended. A busy machine gives
// fewer, longer frames, so the movie's timers fire late, several in one frame; but Ruffle fires at
// most ten timer ticks in one frame and drops the rest of that frame's time from the movie's
// timers. So the page hands the player a clock of its own: each frame advances it by the frame's
// time, but by no more than MOVIE_STEP_MS (fewer ticks than that limit, even for the fastest timer
// Ruffle allows, one every 10 ms), and not at all while the check holds the player still. On a
// busy machine the movie then runs slower than the wall clock, but by its own clock each timer
// fires when the movie set it to. Each trace is stamped with that clock.
//
// The player draws what its timers changed with the movie's next frame, or at once, in the same
// animation frame, where the movie asks for it (updateAfterEvent). So once a trace matches one of
// `pauses` (each used once), the player is suspended after the next animation frame in which it
// draws, by whichever renderer it picked: the banner then shows the state of every trace so far,
// and stays so while the check looks. The check then calls bannerResume().
function pageSetup({ pauses, movieStepMs }) {
    window.bannerTraces = [];
    window.bannerPausedAt = null;  // how many traces there were when the player was suspended
    window.cursorOver = (element) => {
        const canvas = element.shadowRoot?.querySelector('canvas');
        return canvas ? getComputedStyle(canvas).cursor : getComputedStyle(element).cursor;
    };
    const pending = pauses.map((source) => new RegExp(source));
    let player = null, suspended = false, pauseWanted = false, drawn = false, realTime = null, movieTime = 0;

    // Every renderer Ruffle picks draws through one of these: WebGPU, WebGL (its own, or wgpu's),
    // or a 2D canvas. Its canvas renderer also paints pictures into canvases of its own, off the
    // page: only drawing into a canvas on the page is a frame.
    const onPage = (context) => !(context instanceof CanvasRenderingContext2D) || context.canvas.isConnected;
    for (const [api, calls] of [[window.WebGLRenderingContext, ['drawArrays', 'drawElements']],
                                [window.WebGL2RenderingContext, ['drawArrays', 'drawElements', 'drawArraysInstanced',
                                                                 'drawElementsInstanced', 'drawRangeElements']],
                                [window.GPUQueue, ['submit']],
                                [window.CanvasRenderingContext2D, ['fillRect', 'fill', 'stroke', 'drawImage', 'putImageData']]]) {
        for (const call of calls) {
            const original = api?.prototype[call];
            if (original) {
                api.prototype[call] = function draw(...args) {
                    if (onPage(this)) drawn = true;
                    return original.apply(this, args);
                };
            }
        }
    }

    const suspend = () => {
        player.ruffle().suspend();
        // Suspending shows a play button over the banner; the screenshots are of the banner.
        player.shadowRoot.getElementById('play-button').style.display = 'none';
        suspended = true;
        pauseWanted = false;
        window.bannerPausedAt = window.bannerTraces.length;
    };
    // A pause is coming once a trace has matched, until the frame that shows it has been drawn.
    window.bannerPauseComing = () => pauseWanted;
    window.bannerResume = () => {
        suspended = false;
        window.bannerPausedAt = null;
        player.ruffle().resume();
    };

    const requestFrame = window.requestAnimationFrame.bind(window);
    window.requestAnimationFrame = (callback) => requestFrame((time) => {
        if (time !== realTime) {
            if (realTime !== null && !suspended) movieTime += Math.min(time - realTime, movieStepMs);
            realTime = time;
        }
        callback(movieTime);
        if (pauseWanted && drawn) suspend();
    });

    const observe = (text) => {
        window.bannerTraces.push({ at: movieTime, text });
        const matched = pending.filter((pattern) => pattern.test(text));
        if (matched.length === 0) return;
        for (const pattern of matched) pending.splice(pending.indexOf(pattern), 1);
        if (!pauseWanted) drawn = false;
        pauseWanted = true;
    };
    document.addEventListener('loadedmetadata', (event) => {
        if (player || !event.target.ruffle) return;
        player = event.target;
        player.ruffle().traceObserver = observe;
    }, true);
}

// Opens a package's README page. The banner must start by itself: once Ruffle has started the
// movie or shown its play button, nothing of Ruffle's may cover the banner, and its splash screen
// must not have shown while Ruffle loaded.
async function openBanner(context, url, { pauses = [] } = {}) {
    const page = await context.newPage();
    await page.addInitScript(pageSetup, { pauses, movieStepMs: MOVIE_STEP_MS });
    await page.goto(url);
    const banner = page.locator('ruffle-object, ruffle-embed').first();
    await banner.waitFor({ timeout: GUARD_MS });
    await page.waitForFunction((overlaysShown) => {
        const shown = new Function(`return (${overlaysShown})()`)();
        window.bannerOverlaysSeen = [...new Set([...(window.bannerOverlaysSeen ?? []), ...shown])];
        const api = document.querySelector('ruffle-object, ruffle-embed').ruffle?.();
        return api?.isPlaying || shown.includes('play button');
    }, ruffleOverlaysShown.toString(), { polling: 'raf', timeout: GUARD_MS });
    const seen = await page.evaluate(() => window.bannerOverlaysSeen);
    if (seen.length > 0) fail(`${url}: Ruffle showed its ${seen.join(', ')} over the README's page`);
    return { page, banner };
}

// ---- Reading the trace ----------------------------------------------------------------------

// The trace as runs: one per file the movie started typing, with its typed prefixes in order, the
// hold it set once the message was typed, the caret's blinks in the hold and the time the hold
// ended (the next "loading"). Every line but a typed one is also an event, in order.
function parseTrace(traces) {
    const runs = [];
    const skipped = [];
    const events = [];
    for (const { at, text } of traces) {
        const run = runs.at(-1);
        const holding = run?.hold && run.holdEnd === undefined;
        let match;
        if ((match = text.match(/^typed (\d+) ([^]*)$/))) {
            if (!run || run.file !== Number(match[1]) || run.hold) fail(`letters typed outside a file: ${text}`);
            run.typed.push({ at, text: match[2] });
            continue;
        }
        events.push({ text, at });
        if ((match = text.match(/^file (\d+) speed (\S+) size (\d+) url ([^]*)$/))) {
            runs.push({ file: Number(match[1]), speed: Number(match[2]), size: Number(match[3]),
                        url: match[4], at, typed: [], blinks: [] });
        } else if ((match = text.match(/^hold (\d+) (\S+)$/))) {
            if (!run || run.file !== Number(match[1])) fail(`a hold outside a file: ${text}`);
            run.hold = { at, ms: Number(match[2]) };
        } else if ((match = text.match(/^caret (true|false)$/))) {
            if (holding) run.blinks.push({ at, shown: match[1] === 'true' });
        } else if ((match = text.match(/^loading \d+$/))) {
            if (holding) run.holdEnd = at;
        } else if ((match = text.match(/^skipped (\d+)$/))) {
            skipped.push({ file: Number(match[1]), at });
        }
    }
    return { runs, skipped, events };
}

// Checks one run: typed one letter at a time, ending exactly in the window's text, at about the
// file's interval (unless `pace` is false). Returns the mean interval by the movie's clock: from
// the run's start, when the movie set its typing timer, to its last letter.
function checkRun(run, message, speed, label, { pace = true } = {}) {
    const expected = shownText(message);
    if (run.typed.length === 0) fail(`${label}: message ${run.file} typed nothing`);
    run.typed.forEach(({ text }, i) => {
        if (text !== expected.slice(0, i + 1)) {
            fail(`${label}: message ${run.file} showed ${printable(text)} as letter ${i + 1}; ` +
                 `the window had ${printable(expected)}`);
        }
    });
    if (run.typed.length !== expected.length) {
        fail(`${label}: message ${run.file} stopped at ${printable(run.typed.at(-1).text)}; ` +
             `the window had ${printable(expected)}`);
    }
    if (run.speed !== speed) fail(`${label}: message ${run.file} ran at speed ${run.speed}, not ${speed}`);
    const interval = (run.typed.at(-1).at - run.at) / run.typed.length;
    if (pace && (interval < speed * 0.7 || interval > speed * 1.5)) {
        fail(`${label}: message ${run.file} typed a letter every ${interval.toFixed(0)} ms of the movie's time, ` +
             `not about every ${speed} ms`);
    }
    return interval;
}

const BLINK_MS = 530;

// Checks the hold of a finished run: the time the movie chose for `message`, never cut short, with
// the caret blinking through it, first hidden, as often as the caret's timer fires in that time.
function checkHold(run, message, label) {
    const expected = holdFor(shownText(message));
    if (!run.hold) fail(`${label}: message ${run.file} was not held`);
    if (Math.abs(run.hold.ms - expected) >= 1) {
        fail(`${label}: message ${run.file} was held ${run.hold.ms} ms, not the ${expected} ms to read it`);
    }
    if (run.holdEnd === undefined) fail(`${label}: the hold of message ${run.file} never ended`);
    const held = run.holdEnd - run.hold.at;
    if (held < run.hold.ms) fail(`${label}: message ${run.file} was held ${held.toFixed(0)} ms of its ${run.hold.ms}`);
    // Both timers start together, so the blinks that come first are the whole ones in the hold
    // (either count when they end together).
    const blinks = [Math.ceil(run.hold.ms / BLINK_MS) - 1, Math.floor(run.hold.ms / BLINK_MS)];
    const alternate = run.blinks.every(({ shown }, i) => shown === (i % 2 === 1));
    if (!blinks.includes(run.blinks.length) || !alternate) {
        fail(`${label}: in a hold of ${run.hold.ms} ms the caret blinked ` +
             `${printable(run.blinks.map(({ shown }) => (shown ? 'on' : 'off')).join(' '))}, ` +
             `not off and on every ${BLINK_MS} ms`);
    }
    return held;
}

async function readTraces(page, from = 0) {
    return page.evaluate((start) => ({ traces: window.bannerTraces.slice(start), pausedAt: window.bannerPausedAt,
                                       pauseComing: window.bannerPauseComing() }), from);
}

// Follows the movie until `done` holds for its trace. Each time the page held the player still, at
// one of its pause patterns, `paused` (given the trace up to then, parsed and as lines) looks, and
// the movie goes on. Returns the trace once done, once the movie has gone two rounds of its files
// past `files` files, or once it has traced nothing for GUARD_MS: the checks then say what is
// missing.
async function watch(page, { done, files = 4, paused }) {
    const traces = [];
    for (;;) {
        const { traces: more, pausedAt, pauseComing } = await readTraces(page, traces.length);
        traces.push(...more);
        const trace = parseTrace(traces);
        if (pausedAt !== null) {
            await paused?.(trace, traces);
            await page.evaluate(() => window.bannerResume());
        }
        const loads = trace.events.filter(({ text }) => text.startsWith('loading ')).length;
        // A trace that asked for a pause is looked at before the watch ends, however soon after it
        // the watch is done; a pause that never comes ends it two rounds on.
        if ((!pauseComing && done(trace)) || loads > files + 8) return trace;
        try {
            await page.waitForFunction((count) => window.bannerTraces.length > count || window.bannerPausedAt !== null,
                                       traces.length, { timeout: GUARD_MS });
        } catch (error) {
            if (error.name !== 'TimeoutError') throw error;
            return trace;
        }
    }
}

// Whether the first `count` runs have been typed to the end (or the movie has gone past them).
const typedRuns = (count) => ({ runs }) => runs.length > count || (runs.length === count && runs[count - 1].hold);

// ---- The two cases --------------------------------------------------------------------------

// Where the generated package's run is held still for a screenshot: every FRAME_EVERY letters of
// each message, and its last.
const FRAME_EVERY = 6;
function framePauses() {
    return MESSAGES.flatMap((message, i) => {
        const text = shownText(message);
        const lengths = [];
        for (let length = FRAME_EVERY; length < text.length; length += FRAME_EVERY) lengths.push(length);
        return [...lengths, text.length].map((length) => exactly(`typed ${i + 1} ${text.slice(0, length)}`));
    });
}

async function checkGeneratedPackage(context, base, report) {
    const { page, banner } = await openBanner(context, `${base}/generated/${PAGE_NAME}`, { pauses: framePauses() });
    const frames = [];
    // A screenshot at each pause: the state of the trace's last line, and if that is a letter,
    // the caret stands after it.
    const shoot = async ({ runs }, lines) => {
        const name = `generated-${String(frames.length).padStart(3, '0')}`;
        await heldShot(context, page, banner, name);
        const run = runs.at(-1);
        frames.push({ file: path.join(outputFolder, 'frames', `${name}.png`), run: run?.file,
                      shown: run?.typed.at(-1)?.text ?? '', typing: lines.at(-1).text.startsWith('typed ') });
    };
    // Two rounds of file 1 show the loop: 1, 2, 3, 4 and back to 1, typed to the end.
    const { runs, skipped } = await watch(page, { done: typedRuns(5), files: 5, paused: shoot });
    if (skipped.length > 0) fail(`generated: the movie skipped file ${skipped[0].file}`);
    const order = runs.map((run) => run.file).join(', ');
    if (!order.startsWith('1, 2, 3, 4, 1')) fail(`generated: messages came in the order ${order}, not 1, 2, 3, 4, 1`);
    const intervals = runs.slice(0, 5).map((run, i) => checkRun(run, MESSAGES[i % 4], 50, 'generated'));
    for (const run of runs.slice(0, 5)) {
        if (run.url !== CLICK_URL) fail(`generated: file ${run.file} gave the address ${printable(run.url)}`);
    }
    const holds = runs.slice(0, 4).map((run, i) => checkHold(run, MESSAGES[i], 'generated'));
    report.push(`generated package: messages typed in the order ${order}, ` +
                `${sum(runs.slice(0, 5).map((run) => run.typed.length))} letters in all, each message exactly as typed in the window`);
    report.push(`  at speed 50, a letter every ${intervals.map((ms) => ms.toFixed(0)).join(', ')} ms of the movie's time`);
    report.push(`  finished message held ${holds.map((ms) => (ms / 1000).toFixed(2)).join(', ')} s, as chosen to read it, ` +
                `the caret blinking ${runs.slice(0, 4).map((run) => run.blinks.length).join(', ')} times`);

    const opened = await clickBanner(page, banner, 'generated', report);
    const expectedUrl = new URL(CLICK_URL, `${base}/generated/`).href;
    if (opened.url() !== expectedUrl) fail(`generated: the click opened ${opened.url()}, not ${expectedUrl}`);
    report.push(`  pointing-hand cursor over the banner; a click opened ${opened.url()} in a new window`);
    await opened.close();
    await page.close();
    return frames;
}

// Points at the banner, checks for the pointing hand, clicks and returns the window the click
// opened.
async function clickBanner(page, banner, label, report) {
    const box = await banner.boundingBox();
    await page.mouse.move(box.x + box.width / 2, box.y + box.height / 2);
    // Where the browser draws without a graphics card, as here, Ruffle's renderer tells it so by a
    // notice, opened as the pointer first comes over the banner, which no setting turns off; a
    // visitor closes it.
    const covering = await page.evaluate(ruffleOverlaysShown);
    if (covering.join() === 'notice hardware-acceleration-modal') {
        report.push(`  ${label}: Ruffle showed its notice that the browser draws without hardware acceleration; closed`);
        await banner.locator('#hardware-acceleration-modal .close-modal').click();
        // Ruffle follows the pointer only when it moves.
        await page.mouse.move(box.x + box.width / 2 - 20, box.y + box.height / 2);
        await page.mouse.move(box.x + box.width / 2, box.y + box.height / 2);
    } else if (covering.length > 0) {
        fail(`${label}: Ruffle showed its ${covering.join(', ')} over the banner`);
    }
    // The player takes up the mouse's place in a frame to come.
    await page.waitForFunction(([element]) => cursorOver(element) === 'pointer', [await banner.elementHandle()],
                               { timeout: GUARD_MS }).catch(() => {});
    const cursor = await banner.evaluate((element) => cursorOver(element));
    if (cursor !== 'pointer') fail(`${label}: the cursor over the banner is "${cursor}", not a pointing hand`);
    const popup = page.waitForEvent('popup', { timeout: GUARD_MS }).catch(() => null);
    await page.mouse.click(box.x + box.width / 2, box.y + box.height / 2);
    const opened = await popup;
    if (!opened) fail(`${label}: a click on the banner opened nothing`);
    // The new window may show up before it has started loading the address.
    await opened.waitForURL((url) => url.protocol === 'http:', { timeout: GUARD_MS }).catch(() => {});
    return opened;
}

// Each unusual address, from a package of blank messages: the banner has read it once it rests.
// The pages load together; each is brought to the front to be followed and clicked.
async function checkClickAddresses(context, base, report) {
    const folders = CLICK_ADDRESSES.map((_, i) => `${base}/click-${i}/`);
    const banners = await Promise.all(folders.map((folder) => openBanner(context, `${folder}${PAGE_NAME}`)));
    for (const [i, address] of CLICK_ADDRESSES.entries()) {
        const { page, banner } = banners[i];
        await page.bringToFront();
        const { events } = await watch(page, { done: ({ events }) => events.some(({ text }) => text === 'resting') });
        if (!events.some(({ text }) => text === 'resting')) fail(`click ${printable(address)}: the banner never rested`);
        const opened = await clickBanner(page, banner, `click ${printable(address)}`, []);
        const expected = new URL(address, folders[i]).href;
        if (opened.url() !== expected) fail(`click ${printable(address)}: the click opened ${opened.url()}, not ${expected}`);
        await opened.close();
        await page.close();
    }
    report.push(`a click opened each of ${CLICK_ADDRESSES.length} addresses exactly as typed: ` +
                `${CLICK_ADDRESSES.map((address) => printable(address.length > 40 ? `${address.slice(0, 30)}…` : address)).join(', ')}`);
}

async function checkEditedPackage(context, base, report) {
    const { page } = await openBanner(context, `${base}/edited/${PAGE_NAME}`);
    const { runs, skipped } = await watch(page, { done: typedRuns(3) });
    const order = runs.map((run) => run.file).join(', ');
    if (!order.startsWith('1, 2, 4')) fail(`edited: messages came in the order ${order}, not 1, 2, 4`);
    if (!skipped.some((skip) => skip.file === 3)) fail('edited: the missing file 3 was not reported as skipped');
    const slow = checkRun(runs[1], MESSAGES[1], EDITED_SPEED, 'edited');
    checkRun(runs[2], MESSAGES[3], 50, 'edited');
    const gap = (runs[2].at - runs[1].typed.at(-1).at) / 1000;
    report.push(`edited package: speed ${EDITED_SPEED} in file 2 typed a letter every ${slow.toFixed(0)} ms; ` +
                `missing file 3 skipped, file 4 began ${gap.toFixed(1)} s after file 2 ended`);
    await page.close();
}

// ---- Hold time and default speed ------------------------------------------------------------

const HOLD_MS = 2000;
const READING_MS_PER_LETTER = 50;

// A finished message stays long enough to read at 20 letters a second, and at least 2 seconds.
const holdFor = (text) => Math.max(HOLD_MS, READING_MS_PER_LETTER * text.length);

// Speeds edited by hand into nothing, zero and a word: each file must type at the default 50.
const DEFAULT_SPEED_CASES = ['', '0', 'fast'];

function prepareDefaultSpeedPackage(folder) {
    generatePackage(folder);
    DEFAULT_SPEED_CASES.forEach((speed, i) => editSpeed(folder, i + 1, speed));
}

async function checkDefaultSpeeds(context, base, report) {
    const { page } = await openBanner(context, `${base}/defaults/${PAGE_NAME}`);
    const count = DEFAULT_SPEED_CASES.length;
    const { runs } = await watch(page, { done: typedRuns(count) });
    if (runs.length < count) fail(`defaults: only ${runs.length} of ${count} messages were typed`);
    DEFAULT_SPEED_CASES.forEach((speed, i) => checkRun(runs[i], MESSAGES[i], 50, `defaults (speed "${speed}")`));
    report.push(`speed ${DEFAULT_SPEED_CASES.map(printable).join(', ')}: each file typed at the default 50 ms`);
    await page.close();
}

// ---- Messages of any length -----------------------------------------------------------------

// A screenshot of the banner once the browser has drawn what the trace has shown, kept in frames/.
async function heldShot(context, page, banner, name) {
    await page.evaluate(() => new Promise((resolve) => requestAnimationFrame(() => requestAnimationFrame(resolve))));
    const { x, y, width, height } = await banner.boundingBox();
    const devtools = await context.newCDPSession(page);
    const { data } = await devtools.send('Page.captureScreenshot', { format: 'png', clip: { x, y, width, height, scale: 1 } });
    await devtools.detach();
    const png = Buffer.from(data, 'base64');
    fs.writeFileSync(path.join(outputFolder, 'frames', `${name}.png`), png);
    return png;
}

// Reads `png` back by OCR and checks it against `expected` (the same length of the message's
// end, when only its end shows). Returns what was read.
function checkReadBack(png, message, label, report, { end = false } = {}) {
    const read = readBack(png);
    const letters = (text) => text.replace(/\s+/g, '').length;
    let start = 0;  // of the end that holds as many letters as were read
    for (let kept = letters(message); end && kept > letters(read); ++start) kept -= /\s/.test(message[start]) ? 0 : 1;
    const expected = message.slice(start);
    const wrong = misreadLetters(read, expected);
    report.push(`  ${label}: read back by OCR with ${wrong} of ${letters(expected)} letters wrong`);
    if (wrong > letters(expected) * MOST_MISREAD) fail(`${label}: read back as ${printable(read)}, not ${printable(expected)}`);
    return read;
}

// The long page is held still as the last letter of each of its messages shows: the long word's,
// then the one that fits only at a smaller size.
const LONG_PAUSES = [exactly(`typed 1 ${LONG_WORD}`), exactly(`typed 4 ${FITS_SMALLER}`)];

async function checkLongWord(context, { page, banner }, report) {
    let png;
    const { runs } = await watch(page, {
        done: typedRuns(1), paused: async () => { png ??= await heldShot(context, page, banner, 'long-word'); },
    });
    if (runs.length === 0) fail('long word: the banner typed nothing');
    checkRun(runs[0], LONG_WORD, FAST_SPEED, 'long word', { pace: false });
    if (!png) fail('long word: the movie never held it');
    // The caret shows after the last letter.
    const [frame] = await luminanceOf(context, [png]);
    const place = caretPlace(frame);
    if (place.misplaced) fail(`long word: the caret is not after its last letter: ${place.misplaced}`);
    const text = boundsOf(brightMask(frame), frame.width);  // no pixel of the picture is as bright
    if (!text) fail('long word: nothing shows');
    report.push(`a word of ${LONG_WORD.length} letters: lines ${text.top}-${text.bottom} px, letters up to x = ${text.right} px`);
    if (text.right > TEXT_RIGHT) fail(`long word: letters reach x = ${text.right} px, past the text's right edge at ${TEXT_RIGHT}`);
    if (text.bottom - text.top < 2 * TOP_SIZE) fail('long word: it was not broken onto more lines');
    checkReadBack(png, LONG_WORD, 'long word', report);
    return png;
}

// Blank files are passed over without delay: each is followed by the next file's load in the same
// frame of the movie, with no message or hold in between.
async function checkSkipsAndFit(context, { page, banner }, report) {
    let png;
    const { runs, events } = await watch(page, {
        done: typedRuns(2), paused: async () => { png ??= await heldShot(context, page, banner, 'fits-smaller'); },
    });
    const order = runs.map((run) => run.file).join(', ');
    if (!order.startsWith('1, 4')) fail(`long: messages came in the order ${order}, not 1, 4`);
    const from = events.findIndex(({ text }) => text === 'loading 2');
    const to = events.findIndex(({ text }) => text.startsWith('file 4 '));
    const between = events.slice(from, to + 1).filter(({ text }) => !text.startsWith('caret '));
    const seen = between.map(({ text }) => text.replace(/^(file \d+) .*/, '$1')).join(', ');
    if (seen !== 'loading 2, empty 2, loading 3, empty 3, loading 4, file 4') {
        fail(`long: after message 1 the movie went ${printable(seen)}, not straight over blank files 2 and 3 to file 4`);
    }
    const [, empty2, loading3, empty3, loading4] = between;
    if (loading3.at !== empty2.at || loading4.at !== empty3.at) {
        fail(`long: a blank file held the movie: the next file was asked for ${(loading3.at - empty2.at).toFixed(0)} and ` +
             `${(loading4.at - empty3.at).toFixed(0)} ms of the movie's time after files 2 and 3 were found blank`);
    }
    report.push(`blank files 2 and 3 passed over, each as soon as it was read: file 4 began ` +
                `${(runs[1].at - runs[0].holdEnd).toFixed(0)} ms of the movie's time after file 1's hold, all of it loading files`);
    checkRun(runs[1], FITS_SMALLER, FAST_SPEED, 'fit', { pace: false });
    report.push(`a message of ${FITS_SMALLER.length} characters typed at size ${runs[1].size}`);
    if (!(runs[1].size < TOP_SIZE)) fail(`fit: a message of ${FITS_SMALLER.length} characters was typed at size ${runs[1].size}`);
    if (!png) fail('fit: the movie never held it');
    checkReadBack(png, FITS_SMALLER, `${FITS_SMALLER.length} characters`, report);
    return png;
}

async function checkScrolling(context, base, report) {
    const { page, banner } = await openBanner(context, `${base}/scroll/${PAGE_NAME}`, { pauses: [exactly(`typed 1 ${SCROLLS}`)] });
    let png;
    const { runs } = await watch(page, {
        done: typedRuns(1), paused: async () => { png ??= await heldShot(context, page, banner, 'scrolled'); },
    });
    if (runs.length === 0) fail('scroll: the banner typed nothing');
    checkRun(runs[0], SCROLLS, FAST_SPEED, 'scroll', { pace: false });
    if (runs[0].size !== FLOOR_SIZE) fail(`scroll: a message of ${SCROLLS.length} characters was typed at size ${runs[0].size}`);
    if (!png) fail('scroll: the movie never held it');
    const read = checkReadBack(png, SCROLLS, `the last lines of ${SCROLLS.length} characters at size ${FLOOR_SIZE}`, report, { end: true });
    if (read.length > SCROLLS.length * 0.9) fail('scroll: the whole message showed at once, or the read was not of its end');
    await page.close();
    return png;
}

// The messages of known size: each typed at the largest size at which all its lines show, with its
// last line and the caret inside the banner when its last letter shows, and while the longest
// scrolls. That pause comes at the first letter of its last line: the letters typed before the
// player stops all show on that line.
function fitPauses() {
    const scrolling = exactly(`typed ${FIT_CASES.length} ${LINES.slice(0, 6).join('\n')}\n${LINES[6][0]}`);
    return [scrolling, ...FIT_CASES.map(({ message }, i) => exactly(`typed ${i + 1} ${shownText(message)}`))];
}

async function checkKnownSizes(context, base, report) {
    const { page, banner } = await openBanner(context, `${base}/fit/${PAGE_NAME}`, { pauses: fitPauses() });
    const shots = [];
    const { runs } = await watch(page, {
        done: typedRuns(FIT_CASES.length),
        paused: async ({ runs }) => {
            const run = runs.at(-1);
            shots.push({ size: run.size, shown: run.typed.at(-1).text,
                         png: await heldShot(context, page, banner, `fit-${shots.length + 1}`) });
        },
    });
    FIT_CASES.forEach(({ message, size }, i) => {
        if (!runs[i]) fail(`fit: message ${i + 1} was never typed`);
        checkRun(runs[i], message, FIT_SPEED, 'fit', { pace: false });
        if (runs[i].size !== size) {
            fail(`fit: ${message.split('\r\n').length} short lines were typed at size ${runs[i].size}, ` +
                 `not ${size}, the largest at which they all show`);
        }
    });
    if (shots.length !== fitPauses().length) fail(`fit: the movie was held still ${shots.length} times, not ${fitPauses().length}`);
    const frames = await luminanceOf(context, shots.map(({ png }) => png));
    frames.forEach((frame, i) => {
        const { size, shown } = shots[i];
        const label = `fit: ${printable(shown)} at size ${size}`;
        // The caret is a bar taller than the line's letters.
        const { caret, misplaced, lines } = caretPlace(frame, Math.ceil(size * 0.9));
        if (misplaced) fail(`${label}: the caret is not after the last letter: ${misplaced}`);
        const rows = Math.min(shown.split('\n').length, ROWS_AT_SIZE[size]);
        if (lines.length !== rows) fail(`${label}: ${lines.length} lines show, not the last ${rows}`);
        if (lines[0].top < TEXT_TOP || lines.at(-1).bottom > TEXT_BOTTOM || caret.top < 0 || caret.bottom >= frame.height) {
            fail(`${label}: lines at ${lines[0].top}-${lines.at(-1).bottom} px and the caret at ${caret.top}-${caret.bottom} px ` +
                 `are not inside the banner's text, ${TEXT_TOP}-${TEXT_BOTTOM} px`);
        }
        if (caret.bottom < lines.at(-1).top || caret.top > lines.at(-1).bottom) fail(`${label}: the caret is not on the last line`);
    });
    report.push(`messages of 3, 4, 5 and 7 short lines typed at sizes ${runs.slice(0, FIT_CASES.length).map((run) => run.size).join(', ')}; ` +
                `their last lines and the caret inside the banner in ${frames.length} screenshots, one while scrolling`);
    await page.close();
}

// Plays the long messages, and meanwhile a package of blank files, which must come to rest: no
// more files loaded, nothing shown but the picture.
async function checkLengths(context, base, report) {
    const blankRequests = [];
    const countRequest = (request) => {
        if (/\/blank\/mytext\d\.txt$/.test(request.url())) blankRequests.push(request.url());
    };
    context.on('request', countRequest);
    const blank = await openBanner(context, `${base}/blank/${PAGE_NAME}`);

    const long = await openBanner(context, `${base}/long/${PAGE_NAME}`, { pauses: LONG_PAUSES });
    const wordPng = await checkLongWord(context, long, report);
    const fitPng = await checkSkipsAndFit(context, long, report);
    await long.page.close();
    const scrollPng = await checkScrolling(context, base, report);
    await checkKnownSizes(context, base, report);

    const { runs, events } = await watch(blank.page, { done: ({ events }) => events.some(({ text }) => text === 'resting') });
    const seen = events.map(({ text }) => text).filter((text) => !text.startsWith('loading ')).join(', ');
    const resting = events.findIndex(({ text }) => text === 'resting');
    if (runs.length > 0 || seen !== 'empty 1, empty 2, empty 3, empty 4, resting' || resting < events.length - 1) {
        fail(`blank: four blank files gave ${runs.length} messages and ${printable(events.slice(0, 12).map(({ text }) => text).join(', '))}…`);
    }
    context.off('request', countRequest);
    // Each file is read twice: as raw text and as form data.
    if (blankRequests.length > 8) fail(`blank: the banner made ${blankRequests.length} requests for its files, not 8 and then rested`);
    const [still] = await luminanceOf(context, [await heldShot(context, blank.page, blank.banner, 'blank')]);
    if (boundsOf(brightMask(still), still.width)) fail('blank: the resting banner shows more than its picture');
    report.push(`four blank files: the banner rested on its picture after loading each once (${blankRequests.length} requests)`);
    await blank.page.close();
    await (await composeStrip(context, [fitPng, scrollPng, wordPng], path.join(outputFolder, 'banner-long-messages.png'))).close();
}

// Stacks screenshots into one picture, composed in the browser.
async function composeStrip(context, chosen, file) {
    const page = await context.newPage();
    const images = chosen.map((frame) =>
        `<img src="data:image/png;base64,${(frame.file ? fs.readFileSync(frame.file) : frame).toString('base64')}">`);
    await page.setContent(`<body style="margin:0;background:#333">
        <div id="strip" style="display:flex;flex-direction:column;gap:4px;width:max-content">
        ${images.join('')}</div></body>`);
    await page.locator('#strip').screenshot({ path: file });
    return page;
}

// A strip of frames, for people to look at: for each message a frame partly typed and one
// finished. Also checks that the backdrop picture is showing, and makes the README's picture.
async function saveStrips(context, frames) {
    const partly = [], whole = [];
    for (const [index, message] of MESSAGES.entries()) {
        const mine = frames.filter((frame) => frame.run === index + 1);
        partly.push(mine.find((frame) => frame.shown.length >= shownText(message).length / 2));
        whole.push(mine.find((frame) => frame.shown === shownText(message)));
    }
    const chosen = MESSAGES.flatMap((_, i) => [partly[i], whole[i]]).filter(Boolean);
    if (chosen.length === 0) fail('no screenshot shows the banner typing');
    const page = await composeStrip(context, chosen, path.join(outputFolder, 'banner-strip.png'));
    const corner = await page.evaluate(() => {
        const image = document.querySelector('img');
        const canvas = document.createElement('canvas');
        canvas.width = image.naturalWidth;
        canvas.height = image.naturalHeight;
        const context2d = canvas.getContext('2d');
        context2d.drawImage(image, 0, 0);
        return Array.from(context2d.getImageData(4, canvas.height - 4, 1, 1).data.slice(0, 3));
    });
    if (corner.reduce((sum, value) => sum + value, 0) < 20) {
        fail('the banner shows plain black where the backdrop picture should be');
    }
    await page.close();
    const readme = [whole[0], partly[1], whole[2]].filter(Boolean);
    await (await composeStrip(context, readme, path.join(outputFolder, 'banner-playing.png'))).close();
    return chosen.length;
}

// ---- Main -----------------------------------------------------------------------------------

async function main() {
    fs.rmSync(outputFolder, { recursive: true, force: true });
    fs.mkdirSync(path.join(outputFolder, 'frames'), { recursive: true });
    const site = path.join(outputFolder, 'site');
    prepareSite(site);
    const { server, port } = startServer(site, (text) => new CheckFailure(text));
    let context;
    try {
        const base = `http://127.0.0.1:${await port}`;
        context = await launchBrowser(path.join(outputFolder, 'profile'));
        const report = [];
        const times = [];
        const timed = async (name, step) => {
            const start = Date.now();
            const result = await step();
            times.push(`${name} ${((Date.now() - start) / 1000).toFixed(0)} s`);
            return result;
        };
        const frames = await timed('generated', () => checkGeneratedPackage(context, base, report));
        await timed('edited', () => checkEditedPackage(context, base, report));
        await timed('defaults', () => checkDefaultSpeeds(context, base, report));
        await timed('lengths', () => checkLengths(context, base, report));
        await timed('clicks', () => checkClickAddresses(context, base, report));
        const count = await saveStrips(context, frames);
        const caret = await checkCaretPlace(context, frames, fail);
        report.push(`caret after the last letter in ${caret.checked} screenshots while typing, on ${caret.lines} lines`);
        await timed('pictures', () => checkLegibility(context, base, shownText(MESSAGES[0]), outputFolder,
                                                      { openBanner, watch, checkHold, heldShot, exactly, fail }, report));
        report.push(`${frames.length} screenshots in ${path.join(outputFolder, 'frames')}; ` +
                    `a strip of ${count} in ${path.join(outputFolder, 'banner-strip.png')}`);
        report.push(`time: ${times.join(', ')}`);
        console.log(report.join('\n'));
    } finally {
        await context?.close();
        server.kill();
    }
}

const limit = setTimeout(() => {
    console.error(`FAIL: the playback check took longer than ${OVERALL_LIMIT_MS / 1000} s`);
    process.exit(1);
}, OVERALL_LIMIT_MS);

main().then(() => {
    clearTimeout(limit);
    console.log('PASS: the generated banner plays in headless Chromium with Ruffle');
}).catch((error) => {
    console.error(`FAIL: ${error instanceof CheckFailure ? error.message : error.stack}`);
    process.exit(1);
});

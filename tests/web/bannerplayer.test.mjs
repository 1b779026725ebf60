// The browser player's rules, in the file the build made, with the facts it generated into it:
// how it reads the files the core writes, which size a message takes, how long it is held, where a
// click may go and when a picture counts as light. Its own page code is played in browsers.
//   QUILLBEAM_PLAYER=.../Template/bannerplayer.js QUILLBEAM_MAKE_PACKAGE=... QUILLBEAM_APP_FOLDER=...
//   node --test bannerplayer.test.mjs
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { test } from 'node:test';
import vm from 'node:vm';
import zlib from 'node:zlib';

const source = fs.readFileSync(process.env.QUILLBEAM_PLAYER);
const sandbox = { module: { exports: {} }, URL };
vm.runInNewContext(source.toString('utf8'), sandbox);
const player = sandbox.module.exports;

// A file's bytes as a browser hands them to the player, decoded by the system's own converter
// (Node's TextDecoder takes windows-1252 for ISO-8859-1).
const decoded = (bytes) => execFileSync('iconv', ['-f', 'WINDOWS-1252', '-t', 'UTF-8'], { input: bytes }).toString();
const crlf = (text) => text.replaceAll('\n', '\r\n');

test('reads every value of the files the core writes, letters beyond ASCII and markers included', () => {
    const folder = fs.mkdtempSync(path.join(os.tmpdir(), 'bannerplayer-'));
    try {
        const packages = [
            ['offers/index.html?from=banner&week=1',
             ['Welcome to our shop!\nNew offers every week', 'Fish & chips für 2 € + peas: 100% = happy',
              'Müller’s café crème, €2 “to go”', 'Ends in a line break\n']],
            ['shop.php?a=1&b=%20+c&theUrl=x&txt=y',
             ['50% & more + less = fun\n&txt=again\n&speed=9&', '//The variable\n//\n', '', '&']],
        ];
        for (const [url, messages] of packages) {
            const files = fs.mkdtempSync(path.join(folder, 'package-'));
            execFileSync(process.env.QUILLBEAM_MAKE_PACKAGE,
                         [files, process.env.QUILLBEAM_APP_FOLDER, url, ...messages.map(crlf)]);
            messages.forEach((message, i) => {
                const values = player.readFile(decoded(fs.readFileSync(path.join(files, `mytext${i + 1}.txt`))));
                assert.deepEqual({ ...values }, { speed: 50, url, message }, `mytext${i + 1}.txt`);
            });
        }
    } finally {
        fs.rmSync(folder, { recursive: true, force: true });
    }
});

test('takes the default speed for one that is not a positive number, and nothing from other text', () => {
    const file = (speed) => `&loaded=yes&\r\n//x\r\n&speed=${speed}&\r\n&theUrl=u&\r\n//a\r\n//b\r\n&txt=m`;
    for (const [speed, expected] of [['120', 120], ['7.5', 7.5], ['', 50], ['0', 50], ['-5', 50], ['fast', 50]]) {
        assert.equal(player.readFile(file(speed)).speed, expected, speed);
    }
    for (const text of ['', 'Hello', '&loaded=yes&\r\n', '&speed=50&&theUrl=x&&txt=y', file(50).replace('&txt=', '&text='),
                        // the markers out of order: the address after the message
                        '\r\n&speed=1&\r\n&txt=m\r\n&theUrl=u&\r\n//']) {
        assert.equal(player.readFile(text), null, JSON.stringify(text));
    }
});

test('passes over messages of nothing but spaces, tabs and line breaks', () => {
    for (const text of ['', ' ', '\t', '\n', ' \n\n ', '\r']) assert.ok(player.isBlank(text), JSON.stringify(text));
    for (const text of ['x', ' .', '\u00a0', '\n-\n']) assert.ok(!player.isBlank(text), JSON.stringify(text));
});

test('shows as many lines at each size as the movie, and gives a message the largest size that shows it all', () => {
    assert.deepEqual([...player.FACTS.sizes].map(player.rowsAt), [3, 3, 4, 4, 5]);
    const rows = [
        [[1, 1, 1, 1, 1], 20],
        [[3, 3, 2, 2, 2], 20],
        [[4, 3, 3, 3, 2], 18],
        [[5, 4, 4, 3, 3], 16],
        [[6, 6, 5, 4, 4], 14],
        [[7, 6, 6, 5, 5], 12],
        [[11, 10, 9, 8, 7], 12],  // scrolls at the smallest
    ];
    for (const [lines, size] of rows) {
        assert.equal(player.FACTS.sizes[player.fitStep((step) => lines[step])], size, lines.join());
    }
});

test('holds a message long enough to read what the banner shows of it, at least 2 seconds', () => {
    const rows = [
        [[1, 1, 3], 2000],
        [[42, 2, 3], 2100],
        [[224, 4, 4], 11200],
        [[480, 7, 5], 50 * 480 * (5 / 7)],  // scrolled: the share on the banner
        [[29, 7, 5], 2000],
    ];
    for (const [args, ms] of rows) assert.equal(player.holdTime(...args), ms, args.join());
});

test('links only web and mail addresses, resolved as the page resolves them', () => {
    const page = 'http://shop.example/banner/page.html';
    const allowed = [
        ['offers/index.html?from=banner&week=1', 'http://shop.example/banner/offers/index.html?from=banner&week=1'],
        ['/x y', 'http://shop.example/x%20y'],
        ['//cdn.example/a', 'http://cdn.example/a'],
        ['HTTPS://Other.Example/', 'https://other.example/'],
        ['  http://a.example/\t', 'http://a.example/'],
        ['mailto:shop@example.com', 'mailto:shop@example.com'],
        // entities mean nothing in a variable file: a path under the page, not a scheme
        ['javascript&#58;alert(1)', 'http://shop.example/banner/javascript&#58;alert(1)'],
    ];
    for (const [address, href] of allowed) assert.equal(player.linkAddress(address, page), href, address);
    const refused = ['', '   ', 'javascript:alert(1)', 'JavaScript:alert(1)', ' \t\njavascript:alert(1)',
                     'java\tscr\nipt:alert(1)', 'data:text/html,<b>x</b>', 'vbscript:msgbox(1)',
                     'file:///etc/passwd', 'ftp://shop.example/', 'http://[', 'blob:http://shop.example/x'];
    for (const address of refused) assert.equal(player.linkAddress(address, page), null, JSON.stringify(address));
    assert.equal(player.linkAddress('offers.html', 'file:///home/me/page.html'), null);
});

test('reads the picture under the message, at every sixth pixel, by its luma', () => {
    const { stageWidth: width, stageHeight: height } = player.FACTS;
    const picture = (colour) => {
        const pixels = new Uint8ClampedArray(width * height * 4);
        for (let y = 0; y < height; ++y) {
            for (let x = 0; x < width; ++x) pixels.set([...colour(x, y), 255], 4 * (y * width + x));
        }
        return pixels;
    };
    const grey = (v) => () => [v, v, v];
    const rows = [
        ['black', grey(0), 448, 88, false],
        ['white', grey(255), 20, 27, true],
        ['grey 118', grey(118), 448, 88, false],
        ['grey 119', grey(119), 448, 88, true],
        ['red', () => [255, 0, 0], 448, 88, false],
        ['green', () => [0, 255, 0], 448, 88, true],
        ['light from x = 200, a short line', (x) => grey(x >= 200 ? 255 : 0)(), 100, 27, false],
        ['light from x = 200, a long line', (x) => grey(x >= 200 ? 255 : 0)(), 448, 27, true],
        ['light below y = 40, one line', (x, y) => grey(y >= 40 ? 255 : 0)(), 448, 27, false],
        ['light below y = 40, a message taller than the banner', (x, y) => grey(y >= 40 ? 255 : 0)(), 448, 500, true],
        ['light only at the pixels read', (x, y) => grey((x - 10) % 6 || (y - 6) % 6 ? 0 : 255)(), 448, 88, true],
    ];
    for (const [name, colour, textWidth, textHeight, light] of rows) {
        assert.equal(player.isLightPicture(picture(colour), textWidth, textHeight), light, name);
    }
});

test('ships small: at most 16 KB, 6 KB under gzip -9', () => {
    assert.ok(source.length <= 16 * 1024, `${source.length} bytes`);
    const gzipped = zlib.gzipSync(source, { level: 9 }).length;
    assert.ok(gzipped <= 6 * 1024, `${gzipped} bytes under gzip -9`);
});

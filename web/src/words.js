// What the page says of a refusal from the core, {kind, values}: in the page's own terms (a
// link, the chart's levels, the setups chosen), never vyr's options. A kind not listed here
// gets a plain sentence.
const unreadableLink = 'Lien de partage illisible : son code est abîmé ou mal recopié';
const range = 'Plage de niveaux refusée : ';
const wrongRange = `${range}donnez deux nombres entiers, le premier niveau avant le dernier`;
const longRange = `${range}trop de niveaux à la fois ; resserrez la plage`;
const file = values => `« ${values.file} »`;
const notSpellList = {
  noRecordLine: "aucune ligne n'a la forme d'un sort (« nom:nombre nombre nombre nombre … »)",
  fewRecordLines: "trop peu de lignes ont la forme d'un sort",
};

const said = {
  notSetupCode: () => unreadableLink,
  damagedSetupCode: () => unreadableLink,
  setupCodeCharacter: () => unreadableLink,
  setupCodeVersion: () => "Lien de partage d'une version que cette page ne lit pas",
  setupCount: () => 'Choisissez au moins deux configurations (un personnage pour A et pour B).',
  sweepForm: () => wrongRange,
  // A setup's change (where: its letter), or the chart's range.
  notWholeNumber: values => (/^[A-Z]$/.test(values.where ?? '')
    ? `Configuration ${values.where} : changement « ${values.typed} » illisible ; donnez un nombre entier (50), `
      + 'ou un écart (+10, -5)'
    : wrongRange),
  zeroStep: () => wrongRange,
  reversedRange: () => `${range}le premier niveau doit précéder le dernier`,
  tooManyValues: () => longRange,
  tooManyRuns: () => longRange,
  notSpellList: values => `${file(values)} ne ressemble pas à une liste de sorts : ${notSpellList[values.reason]
    ?? notSpellList.fewRecordLines}`,
  noSpellLoads: values => `${file(values)} : aucun sort ne se charge de ce fichier`,
  fileTooLarge: values => `${file(values)} : bien trop grand pour une liste de sorts`,
};

export function words(error) {
  const word = said[error?.kind];
  return word ? word(error.values ?? {}) : 'Ce calcul est impossible avec ces valeurs';
}

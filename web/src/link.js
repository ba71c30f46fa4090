// The setup and spell as a link (#config=CODE&sort=NAME), kept for the next visit too.
export function remember(page, inputs, spellName) {
  const state = `config=${page.vyr.code(inputs)}&sort=${encodeURIComponent(spellName ?? '')}`;
  document.getElementById('partager').href = '#' + state;
  localStorage.setItem('vyr-degats', state);
}

// A shared link, else the last visit, else the defaults: fills the inputs and returns the
// spell's name.
export function restore(page, state) {
  const saved = new URLSearchParams(state);
  const setup = saved.get('config') ? page.vyr.decode(saved.get('config')) : {};
  if (setup.error) page.say('Lien de partage illisible : le code de configuration est abîmé ou mal recopié.');
  else for (const name in setup) page.inputs[name].value = setup[name];
  return saved.get('sort');
}

export const lastState = () => location.hash.slice(1) || localStorage.getItem('vyr-degats') || '';

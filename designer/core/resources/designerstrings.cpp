// The designer's captions, hints, messages and descriptions (Italian), added to the string
// table at start-up.
#include "designer/core/resources/designerstrings.h"

#include "report/resources/kvlresources.h"

namespace {

const char kBlock[] = R"xml(<?xml version="1.1" encoding="utf-8"?>
<Resources CodePage="1252">
<StrRes Name="2000" Text="Proprietà dell'oggetto"/>
<StrRes Name="2100" Text="Dati, variabili, funzioni, classi"/>
<StrRes Name="2101" Text="Origini dati"/>
<StrRes Name="2102" Text="Variabili"/>
<StrRes Name="2103" Text="Funzioni"/>
<StrRes Name="2104" Text="Crea campo"/>
<StrRes Name="2105" Text="Crea etichetta con il nome del campo"/>
<StrRes Name="2106" Text="Classi"/>
<StrRes Name="2200" Text="Struttura del report"/>
<StrRes Name="2300" Text="Apri file di script"/>
<StrRes Name="2301" Text="Salva script su file"/>
<StrRes Name="2302" Text="Esegui lo script"/>
<StrRes Name="2303" Text="Esegui una riga"/>
<StrRes Name="2304" Text="Interrompi lo script"/>
<StrRes Name="2305" Text="Valuta"/>
<StrRes Name="2306" Text="Linguaggio:"/>
<StrRes Name="2307" Text="Allineamento"/>
<StrRes Name="2308" Text="Allinea a sinistra"/>
<StrRes Name="2309" Text="Centra orizzontalmente"/>
<StrRes Name="2310" Text="Allinea a destra"/>
<StrRes Name="2311" Text="Allinea in alto"/>
<StrRes Name="2312" Text="Centra verticalmente"/>
<StrRes Name="2313" Text="Allinea in basso"/>
<StrRes Name="2314" Text="Spazia orizzontalmente"/>
<StrRes Name="2315" Text="Spazia verticalmente"/>
<StrRes Name="2316" Text="Centra orizzontalmente nella sezione"/>
<StrRes Name="2317" Text="Centra verticalmente nella sezione"/>
<StrRes Name="2318" Text="Stessa larghezza"/>
<StrRes Name="2319" Text="Stessa altezza"/>
<StrRes Name="2320" Text="Testo"/>
<StrRes Name="2321" Text="Stile"/>
<StrRes Name="2322" Text="Nome del carattere"/>
<StrRes Name="2323" Text="Dimensione del carattere"/>
<StrRes Name="2324" Text="Grassetto"/>
<StrRes Name="2325" Text="Corsivo"/>
<StrRes Name="2326" Text="Sottolineato"/>
<StrRes Name="2327" Text="Colore del carattere"/>
<StrRes Name="2328" Text="Evidenziatura"/>
<StrRes Name="2329" Text="Rotazione del testo"/>
<StrRes Name="2330" Text="Allinea il testo a sinistra"/>
<StrRes Name="2331" Text="Centra il testo"/>
<StrRes Name="2332" Text="Allinea il testo a destra"/>
<StrRes Name="2333" Text="Giustifica il testo"/>
<StrRes Name="2334" Text="Allinea il testo in alto"/>
<StrRes Name="2335" Text="Centra il testo verticalmente"/>
<StrRes Name="2336" Text="Allinea il testo in basso"/>
<StrRes Name="2337" Text="Cornice"/>
<StrRes Name="2338" Text="Linea superiore"/>
<StrRes Name="2339" Text="Linea inferiore"/>
<StrRes Name="2340" Text="Linea sinistra"/>
<StrRes Name="2341" Text="Linea destra"/>
<StrRes Name="2342" Text="Tutte le linee"/>
<StrRes Name="2343" Text="Nessuna linea"/>
<StrRes Name="2344" Text="Modifica cornice"/>
<StrRes Name="2345" Text="Colore di sfondo"/>
<StrRes Name="2346" Text="Colore della cornice"/>
<StrRes Name="2347" Text="Stile della cornice"/>
<StrRes Name="2348" Text="Spessore della cornice"/>
<StrRes Name="2349" Text="Standard"/>
<StrRes Name="2350" Text="Nuovo report"/>
<StrRes Name="2351" Text="Apri report"/>
<StrRes Name="2352" Text="Salva report"/>
<StrRes Name="2353" Text="Anteprima"/>
<StrRes Name="2354" Text="Nuova pagina"/>
<StrRes Name="2355" Text="Nuova finestra di dialogo"/>
<StrRes Name="2356" Text="Elimina pagina"/>
<StrRes Name="2357" Text="Impostazioni della pagina"/>
<StrRes Name="2358" Text="Variabili"/>
<StrRes Name="2359" Text="Taglia"/>
<StrRes Name="2360" Text="Copia"/>
<StrRes Name="2361" Text="Incolla"/>
<StrRes Name="2362" Text="Copia formato"/>
<StrRes Name="2363" Text="Annulla"/>
<StrRes Name="2364" Text="Ripristina"/>
<StrRes Name="2365" Text="Raggruppa"/>
<StrRes Name="2366" Text="Separa"/>
<StrRes Name="2367" Text="Mostra griglia"/>
<StrRes Name="2368" Text="Allinea alla griglia"/>
<StrRes Name="2369" Text="Adatta alla griglia"/>
<StrRes Name="2370" Text="Zoom"/>
<StrRes Name="2371" Text="Strumenti aggiuntivi"/>
<StrRes Name="2372" Text="Seleziona oggetti"/>
<StrRes Name="2373" Text="Sposta la pagina"/>
<StrRes Name="2374" Text="Ingrandisci"/>
<StrRes Name="2375" Text="Modifica testi"/>
<StrRes Name="2376" Text="Copia il formato"/>
<StrRes Name="2377" Text="Inserisci sezione"/>
<StrRes Name="2378" Text="&amp;File"/>
<StrRes Name="2379" Text="&amp;Modifica"/>
<StrRes Name="2380" Text="Trova..."/>
<StrRes Name="2381" Text="Trova successivo"/>
<StrRes Name="2382" Text="Sostituisci..."/>
<StrRes Name="2383" Text="&amp;Report"/>
<StrRes Name="2384" Text="Origini dati..."/>
<StrRes Name="2385" Text="Opzioni..."/>
<StrRes Name="2386" Text="Stili..."/>
<StrRes Name="2387" Text="&amp;Visualizza"/>
<StrRes Name="2388" Text="Barre degli strumenti"/>
<StrRes Name="2389" Text="Standard"/>
<StrRes Name="2390" Text="Testo"/>
<StrRes Name="2391" Text="Cornice"/>
<StrRes Name="2392" Text="Allineamento"/>
<StrRes Name="2393" Text="Strumenti aggiuntivi"/>
<StrRes Name="2394" Text="Ispettore oggetti"/>
<StrRes Name="2395" Text="Albero dei dati"/>
<StrRes Name="2396" Text="Struttura del report"/>
<StrRes Name="2397" Text="Righelli"/>
<StrRes Name="2398" Text="Guide"/>
<StrRes Name="2399" Text="Elimina guide"/>
<StrRes Name="2400" Text="Opzioni..."/>
<StrRes Name="2401" Text="&amp;?"/>
<StrRes Name="2402" Text="Sommario della guida..."/>
<StrRes Name="2403" Text="Informazioni su..."/>
<StrRes Name="2404" Text="Ordine di tabulazione..."/>
<StrRes Name="2405" Text="Annulla"/>
<StrRes Name="2406" Text="Ripristina"/>
<StrRes Name="2407" Text="Taglia"/>
<StrRes Name="2408" Text="Copia"/>
<StrRes Name="2409" Text="Incolla"/>
<StrRes Name="2410" Text="Raggruppa"/>
<StrRes Name="2411" Text="Separa"/>
<StrRes Name="2412" Text="Elimina"/>
<StrRes Name="2413" Text="Elimina pagina"/>
<StrRes Name="2414" Text="Seleziona tutto"/>
<StrRes Name="2415" Text="Modifica..."/>
<StrRes Name="2416" Text="Porta in primo piano"/>
<StrRes Name="2417" Text="Porta in secondo piano"/>
<StrRes Name="2418" Text="Nuovo..."/>
<StrRes Name="2419" Text="Nuovo report"/>
<StrRes Name="2420" Text="Nuova pagina"/>
<StrRes Name="2421" Text="Nuova finestra di dialogo"/>
<StrRes Name="2422" Text="Apri..."/>
<StrRes Name="2423" Text="Salva"/>
<StrRes Name="2424" Text="Salva con nome..."/>
<StrRes Name="2425" Text="Variabili..."/>
<StrRes Name="2426" Text="Impostazioni della pagina..."/>
<StrRes Name="2427" Text="Anteprima"/>
<StrRes Name="2428" Text="Esci"/>
<StrRes Name="2429" Text="Titolo del Report"/>
<StrRes Name="2430" Text="Sommario del Report"/>
<StrRes Name="2431" Text="Intestazione della pagina"/>
<StrRes Name="2432" Text="Pié pagina"/>
<StrRes Name="2433" Text="Intestazione"/>
<StrRes Name="2434" Text="Piede"/>
<StrRes Name="2435" Text="Database principale"/>
<StrRes Name="2436" Text="Database dettaglio"/>
<StrRes Name="2437" Text="Sub-dettaglio dei dati"/>
<StrRes Name="2438" Text="Dati 4° livello"/>
<StrRes Name="2439" Text="Dati 5° livello"/>
<StrRes Name="2440" Text="Dati 6° livello"/>
<StrRes Name="2441" Text="Intestazione del gruppo"/>
<StrRes Name="2442" Text="Piede del gruppo"/>
<StrRes Name="2443" Text="Figlio"/>
<StrRes Name="2444" Text="Intestazione della colonna"/>
<StrRes Name="2445" Text="Piede della colonna"/>
<StrRes Name="2446" Text="Sfondo"/>
<StrRes Name="2447" Text="Sezione verticale"/>
<StrRes Name="2448" Text="Intestazione"/>
<StrRes Name="2449" Text="Piede"/>
<StrRes Name="2450" Text="Database principale"/>
<StrRes Name="2451" Text="Database dettaglio"/>
<StrRes Name="2452" Text="Sub-dettaglio dei dati"/>
<StrRes Name="2453" Text="Intestazione del gruppo"/>
<StrRes Name="2454" Text="Piede del gruppo"/>
<StrRes Name="2455" Text="Figlio"/>
<StrRes Name="2456" Text="0°"/>
<StrRes Name="2457" Text="45°"/>
<StrRes Name="2458" Text="90°"/>
<StrRes Name="2459" Text="180°"/>
<StrRes Name="2460" Text="270°"/>
<StrRes Name="2461" Text="Carattere"/>
<StrRes Name="2462" Text="Grassetto"/>
<StrRes Name="2463" Text="Corsivo"/>
<StrRes Name="2464" Text="Sottolineato"/>
<StrRes Name="2465" Text="Apice"/>
<StrRes Name="2466" Text="Pedice"/>
<StrRes Name="2467" Text="Condensato"/>
<StrRes Name="2468" Text="Espanso"/>
<StrRes Name="2469" Text="12 caratteri per pollice"/>
<StrRes Name="2470" Text="15 caratteri per pollice"/>
<StrRes Name="2471" Text="Report (*.kv3)|*.kv3"/>
<StrRes Name="2472" Text="File Pascal(*.pas)|*.pas|file C++ (*.cpp)|*.cpp|File JavaScript (*.js)|*.js|File Basic (*.vb)|*.vb|Tutti i file|*.*"/>
<StrRes Name="2473" Text="File Pascal (*.pas)|*.pas|file C++ (*.cpp)|*.cpp|File JavaScript (*.js)|*.js|File Basic (*.vb)|*.vb|Tutti i file|*.*"/>
<StrRes Name="2474" Text="Connessioni..."/>
<StrRes Name="2475" Text="Lingua"/>
<StrRes Name="2476" Text="Toggle breakpoint"/>
<StrRes Name="2477" Text="Vai al cursore"/>
<StrRes Name="2478" Text="Aggiungi una sezione figlio"/>
<StrRes Name="2479" Text="Edit Fill"/>
<StrRes Name="2600" Text="Informazioni su Korvelle"/>
<StrRes Name="2601" Text="Visita il nostro sito web:"/>
<StrRes Name="2602" Text="Vendite:"/>
<StrRes Name="2603" Text="Assistenza:"/>
<StrRes Name="2700" Text="Impostazioni della pagina"/>
<StrRes Name="2701" Text="Carta"/>
<StrRes Name="2702" Text="Larghezza"/>
<StrRes Name="2703" Text="Altezza"/>
<StrRes Name="2704" Text="Dimensione"/>
<StrRes Name="2705" Text="Orientamento"/>
<StrRes Name="2706" Text="Sinistra"/>
<StrRes Name="2707" Text="Alto"/>
<StrRes Name="2708" Text="Destra"/>
<StrRes Name="2709" Text="Basso"/>
<StrRes Name="2710" Text="Margini"/>
<StrRes Name="2711" Text="Origine carta"/>
<StrRes Name="2712" Text="Prima pagina"/>
<StrRes Name="2713" Text="Altre pagine"/>
<StrRes Name="2714" Text="Verticale"/>
<StrRes Name="2715" Text="Orizzontale"/>
<StrRes Name="2716" Text="Altre opzioni"/>
<StrRes Name="2717" Text="Colonne"/>
<StrRes Name="2718" Text="Numeri"/>
<StrRes Name="2719" Text="Larghezza"/>
<StrRes Name="2720" Text="Posizione"/>
<StrRes Name="2721" Text="Altro"/>
<StrRes Name="2722" Text="Doppia"/>
<StrRes Name="2723" Text="Stampa nella pagina precedente"/>
<StrRes Name="2724" Text="Margini speculari"/>
<StrRes Name="2725" Text="Incrementa l'altezza durante la creazione"/>
<StrRes Name="2726" Text="Endless page width"/>
<StrRes Name="2727" Text="Endless page height"/>
<StrRes Name="2800" Text="Selezionare le origini dati desiderate"/>
<StrRes Name="2900" Text="Modifica le variabili"/>
<StrRes Name="2901" Text="Categoria"/>
<StrRes Name="2902" Text="Variabili"/>
<StrRes Name="2903" Text="Modifica"/>
<StrRes Name="2904" Text="Elimina"/>
<StrRes Name="2905" Text="Elenca"/>
<StrRes Name="2906" Text="Carica"/>
<StrRes Name="2907" Text="Salva"/>
<StrRes Name="2908" Text=" Espressione:"/>
<StrRes Name="2909" Text="Dizionario (*.kq3)|*.kq3"/>
<StrRes Name="2910" Text="Nuova categoria"/>
<StrRes Name="3000" Text="Opzioni designer"/>
<StrRes Name="3001" Text=" Griglia "/>
<StrRes Name="3002" Text="Unità di misura"/>
<StrRes Name="3003" Text="Dimensione"/>
<StrRes Name="3004" Text="Finestra di dialogo:"/>
<StrRes Name="3005" Text=" Altro "/>
<StrRes Name="3006" Text=" Caratteri "/>
<StrRes Name="3007" Text="Codice sorgente"/>
<StrRes Name="3008" Text="Caselle di testo"/>
<StrRes Name="3009" Text="Dimens."/>
<StrRes Name="3010" Text="Dimens."/>
<StrRes Name="3011" Text=" Colori "/>
<StrRes Name="3012" Text="Distanza tra le sezioni:"/>
<StrRes Name="3013" Text="cm"/>
<StrRes Name="3014" Text="po"/>
<StrRes Name="3015" Text="pt"/>
<StrRes Name="3016" Text="pt"/>
<StrRes Name="3017" Text="pt"/>
<StrRes Name="3018" Text="Centimetri:"/>
<StrRes Name="3019" Text="Pollici:"/>
<StrRes Name="3020" Text="Pixel:"/>
<StrRes Name="3021" Text="Mostra griglia"/>
<StrRes Name="3022" Text="Allinea alla griglia"/>
<StrRes Name="3023" Text="Mostra Editor dopo l'inserimento"/>
<StrRes Name="3024" Text="Usa il carattere dell'oggetto"/>
<StrRes Name="3025" Text="Area di lavoro"/>
<StrRes Name="3026" Text="Finestra degli strumenti"/>
<StrRes Name="3027" Text="Colore della griglia LCD"/>
<StrRes Name="3028" Text="Posizione libera delle varie sezioni"/>
<StrRes Name="3029" Text="Visualizza combobox con la lista dei campi"/>
<StrRes Name="3030" Text="Visualizza schermata iniziale"/>
<StrRes Name="3031" Text="Ripristina i valori di default"/>
<StrRes Name="3032" Text="Mostra i titoli delle sezioni"/>
<StrRes Name="3100" Text="Selezionare un'origine dati"/>
<StrRes Name="3101" Text="Numero di records:"/>
<StrRes Name="3102" Text="Dataset"/>
<StrRes Name="3103" Text="Filter"/>
<StrRes Name="3200" Text="Gruppo"/>
<StrRes Name="3201" Text=" Raggruppa i dati in base a: "/>
<StrRes Name="3202" Text=" Opzioni "/>
<StrRes Name="3203" Text="Un campo dati"/>
<StrRes Name="3204" Text="Un'espressione"/>
<StrRes Name="3205" Text="Mantieni l'intestazione gruppo assieme ai dati"/>
<StrRes Name="3206" Text="Inizia in una nuova pagina"/>
<StrRes Name="3207" Text="Mostra nell'indice"/>
<StrRes Name="3300" Text="Variabili di sistema"/>
<StrRes Name="3301" Text="Sezione dati"/>
<StrRes Name="3302" Text="Origine dati"/>
<StrRes Name="3303" Text="Campo"/>
<StrRes Name="3304" Text="Funzione"/>
<StrRes Name="3305" Text="Espressione"/>
<StrRes Name="3306" Text="Valore aggregato"/>
<StrRes Name="3307" Text="Variabile del sistema"/>
<StrRes Name="3308" Text="Considera anche le sezioni invisibili"/>
<StrRes Name="3309" Text="Testo"/>
<StrRes Name="3310" Text="Calcola il valore complessivo finale"/>
<StrRes Name="3400" Text="Oggetto OLE"/>
<StrRes Name="3401" Text="Inserisci..."/>
<StrRes Name="3402" Text="Modifica..."/>
<StrRes Name="3403" Text="Chiudi"/>
<StrRes Name="3500" Text="Codice a barre"/>
<StrRes Name="3501" Text="Codice"/>
<StrRes Name="3502" Text="Tipo di codice"/>
<StrRes Name="3503" Text="Opzioni"/>
<StrRes Name="3504" Text="Rotazione"/>
<StrRes Name="3505" Text="Calcola il checksum"/>
<StrRes Name="3506" Text="Testo leggibile"/>
<StrRes Name="3507" Text="Zoom:"/>
<StrRes Name="3508" Text="Dati"/>
<StrRes Name="3509" Text="Espressione"/>
<StrRes Name="3510" Text="Larghezza:"/>
<StrRes Name="3511" Text="Annulla"/>
<StrRes Name="3600" Text="Alias dei campi"/>
<StrRes Name="3601" Text="Alias dell'origine dati:"/>
<StrRes Name="3602" Text="Alias dei campi:"/>
<StrRes Name="3603" Text="Nome originale"/>
<StrRes Name="3604" Text="Alias"/>
<StrRes Name="3605" Text="Ripristina i nomi"/>
<StrRes Name="3700" Text="Modifica parametri"/>
<StrRes Name="3800" Text="Collegamento master-detail"/>
<StrRes Name="3801" Text="Campi di dettaglio"/>
<StrRes Name="3802" Text="Campi master"/>
<StrRes Name="3803" Text="Campi collegati"/>
<StrRes Name="3804" Text="Aggiungi"/>
<StrRes Name="3805" Text="Cancella"/>
<StrRes Name="3900" Text="Modifica casella di testo"/>
<StrRes Name="3901" Text="Inserisci espressione"/>
<StrRes Name="3902" Text="Inserisci aggregato"/>
<StrRes Name="3903" Text="Inserisci variabile"/>
<StrRes Name="3904" Text="A capo automatico"/>
<StrRes Name="3905" Text="Contenuto"/>
<StrRes Name="3906" Text="Formattazione"/>
<StrRes Name="3907" Text="Stile"/>
<StrRes Name="4000" Text="Immagine"/>
<StrRes Name="4001" Text="Carica"/>
<StrRes Name="4002" Text="Copia"/>
<StrRes Name="4003" Text="Incolla"/>
<StrRes Name="4004" Text="Cancella"/>
<StrRes Name="4100" Text="Grafico"/>
<StrRes Name="4101" Text="Serie"/>
<StrRes Name="4102" Text="Aggiungi serie"/>
<StrRes Name="4103" Text="Elimina serie"/>
<StrRes Name="4104" Text="Modifica grafico"/>
<StrRes Name="4105" Text="Origine dati"/>
<StrRes Name="4106" Text="Valori"/>
<StrRes Name="4107" Text="Etichette"/>
<StrRes Name="4108" Text="Ordinamento"/>
<StrRes Name="4109" Text="Numero massimo di valori"/>
<StrRes Name="4114" Text="Colore"/>
<StrRes Name="4115" Text="Sezione dati"/>
<StrRes Name="4116" Text="Banda"/>
<StrRes Name="4117" Text="Valori fissi"/>
<StrRes Name="4126" Text="Altri valori"/>
<StrRes Name="4200" Text="Testo formattato"/>
<StrRes Name="4201" Text="Apri file"/>
<StrRes Name="4202" Text="Salva file"/>
<StrRes Name="4203" Text="Annulla"/>
<StrRes Name="4204" Text="Carattere"/>
<StrRes Name="4205" Text="Inserisci espressione"/>
<StrRes Name="4206" Text="Grassetto"/>
<StrRes Name="4207" Text="Corsivo"/>
<StrRes Name="4208" Text="Sottolineato"/>
<StrRes Name="4209" Text="Allinea a sinistra"/>
<StrRes Name="4210" Text="Centra"/>
<StrRes Name="4211" Text="Allinea a destra"/>
<StrRes Name="4212" Text="Giustifica"/>
<StrRes Name="4213" Text="Elenco puntato"/>
<StrRes Name="4300" Text="Tabella incrociata"/>
<StrRes Name="4301" Text="Origine dati"/>
<StrRes Name="4302" Text="Dimensioni"/>
<StrRes Name="4303" Text="Righe"/>
<StrRes Name="4304" Text="Colonne"/>
<StrRes Name="4305" Text="Celle"/>
<StrRes Name="4306" Text="Struttura"/>
<StrRes Name="4307" Text="Intestazione delle righe"/>
<StrRes Name="4308" Text="Intestazione delle colonne"/>
<StrRes Name="4309" Text="Totale generale delle righe"/>
<StrRes Name="4310" Text="Totale generale delle colonne"/>
<StrRes Name="4311" Text="Scambia righe e colonne"/>
<StrRes Name="4312" Text="Stile"/>
<StrRes Name="4313" Text="Bordo"/>
<StrRes Name="4314" Text="Ripeti le intestazioni"/>
<StrRes Name="4315" Text="Dimensioni automatiche"/>
<StrRes Name="4316" Text="Sopprimi le celle vuote"/>
<StrRes Name="4317" Text="Somma"/>
<StrRes Name="4318" Text="Minimo"/>
<StrRes Name="4319" Text="Massimo"/>
<StrRes Name="4320" Text="Media"/>
<StrRes Name="4321" Text="Conteggio"/>
<StrRes Name="4322" Text="Nessuno"/>
<StrRes Name="4323" Text="Crescente"/>
<StrRes Name="4324" Text="Decrescente"/>
<StrRes Name="4325" Text="Raggruppamento"/>
<StrRes Name="4326" Text="Totale parziale"/>
<StrRes Name="4327" Text="Totale"/>
<StrRes Name="4328" Text="Totale generale"/>
<StrRes Name="4329" Text="Mostra i titoli"/>
<StrRes Name="4330" Text="Mostra l'angolo"/>
<StrRes Name="4331" Text="Unisci le celle uguali"/>
<StrRes Name="4400" Text="Modifica espressione"/>
<StrRes Name="4401" Text="Espressione:"/>
<StrRes Name="4500" Text="Formattazione"/>
<StrRes Name="4501" Text="Categoria"/>
<StrRes Name="4502" Text="Formato"/>
<StrRes Name="4503" Text="Formato:"/>
<StrRes Name="4504" Text="Separatore decimale:"/>
<StrRes Name="4600" Text="Evidenziatore"/>
<StrRes Name="4601" Text="Condizione"/>
<StrRes Name="4602" Text="Aggiungi"/>
<StrRes Name="4603" Text="Cancella"/>
<StrRes Name="4604" Text="Modifica"/>
<StrRes Name="4605" Text="Stile"/>
<StrRes Name="4606" Text="Cornice"/>
<StrRes Name="4607" Text="Riempimento"/>
<StrRes Name="4608" Text="Carattere"/>
<StrRes Name="4609" Text="Visibile"/>
<StrRes Name="4700" Text="Impostazioni del report"/>
<StrRes Name="4701" Text=" Generale "/>
<StrRes Name="4702" Text=" Impostazioni stampante "/>
<StrRes Name="4703" Text="Copie"/>
<StrRes Name="4704" Text="Generale"/>
<StrRes Name="4705" Text="Password"/>
<StrRes Name="4706" Text="Fascicola pagine"/>
<StrRes Name="4707" Text="Doppio passaggio"/>
<StrRes Name="4708" Text="Stampa se vuoto"/>
<StrRes Name="4709" Text=" Descrizione "/>
<StrRes Name="4710" Text="Nome"/>
<StrRes Name="4711" Text="Descrizione"/>
<StrRes Name="4712" Text="Immagine"/>
<StrRes Name="4713" Text="Autore"/>
<StrRes Name="4714" Text="Maggiore"/>
<StrRes Name="4715" Text="Minore"/>
<StrRes Name="4716" Text="Rilascio"/>
<StrRes Name="4717" Text="Build"/>
<StrRes Name="4718" Text="Creato"/>
<StrRes Name="4719" Text="Modificato"/>
<StrRes Name="4720" Text="Descrizione"/>
<StrRes Name="4721" Text=" Versione "/>
<StrRes Name="4722" Text="Modifica..."/>
<StrRes Name="4723" Text=" Impostazioni di ereditarietà "/>
<StrRes Name="4724" Text="Scegliere l'operazione desiderata:"/>
<StrRes Name="4725" Text="Non cambiare niente"/>
<StrRes Name="4726" Text="Scollega dal report di partenza"/>
<StrRes Name="4727" Text="Eredita dal report di partenza:"/>
<StrRes Name="4728" Text="Ereditarietà"/>
<StrRes Name="4729" Text="Percorso reports:"/>
<StrRes Name="4800" Text="Linee"/>
<StrRes Name="4900" Text="Istruzione SQL"/>
<StrRes Name="4901" Text="Generatore di query"/>
<StrRes Name="5000" Text="Password"/>
<StrRes Name="5001" Text="Inserisci la password:"/>
<StrRes Name="5100" Text="Modifica stile"/>
<StrRes Name="5101" Text="Colore..."/>
<StrRes Name="5102" Text="Carattere..."/>
<StrRes Name="5103" Text="Cornice..."/>
<StrRes Name="5104" Text="Aggiungi"/>
<StrRes Name="5105" Text="Cancella"/>
<StrRes Name="5106" Text="Modifica"/>
<StrRes Name="5107" Text="Carica"/>
<StrRes Name="5108" Text="Salva"/>
<StrRes Name="5200" Text="Modifica cornice"/>
<StrRes Name="5201" Text="Cornice"/>
<StrRes Name="5202" Text="Linea"/>
<StrRes Name="5203" Text="Ombra"/>
<StrRes Name="5211" Text="Stile:"/>
<StrRes Name="5214" Text="Colore:"/>
<StrRes Name="5215" Text="Larghezza:"/>
<StrRes Name="5216" Text="Choose the line style, then choose the line to apply the style."/>
<StrRes Name="5300" Text="Nuovo report da modello"/>
<StrRes Name="5301" Text="Modello"/>
<StrRes Name="5302" Text="Templates"/>
<StrRes Name="5303" Text="Inherit the report"/>
<StrRes Name="5400" Text="Ordine di Tabulazione"/>
<StrRes Name="5401" Text="Controlla oggetti nell'ordine di tabulazione:"/>
<StrRes Name="5402" Text="Sposta sù"/>
<StrRes Name="5403" Text="Sposta giù"/>
<StrRes Name="5500" Text="Valuta"/>
<StrRes Name="5501" Text="Espressione"/>
<StrRes Name="5502" Text="Risultato"/>
<StrRes Name="5600" Text="Autocomposizione Report"/>
<StrRes Name="5601" Text="Dati"/>
<StrRes Name="5602" Text="Fields"/>
<StrRes Name="5603" Text="Gruppi"/>
<StrRes Name="5604" Text="Disposizione"/>
<StrRes Name="5605" Text="Stile"/>
<StrRes Name="5606" Text="Step 1. Select the dataset."/>
<StrRes Name="5607" Text="Step 2. Select the fields to display."/>
<StrRes Name="5608" Text="Step 3. Create groups (optional)."/>
<StrRes Name="5609" Text="Step 4. Define the page orientation and data layout."/>
<StrRes Name="5610" Text="Step 5. Choose the report style."/>
<StrRes Name="5611" Text="Aggiungi &gt;"/>
<StrRes Name="5612" Text="Aggiungi tutti &gt;&gt;"/>
<StrRes Name="5613" Text="&lt; Rimuovi"/>
<StrRes Name="5614" Text="&lt;&lt; Rimuovi tutti"/>
<StrRes Name="5615" Text="Aggiungi &gt;"/>
<StrRes Name="5616" Text="&lt; Rimuovi"/>
<StrRes Name="5617" Text="Campi selezionati:"/>
<StrRes Name="5618" Text="Campi disponibili:"/>
<StrRes Name="5619" Text="Gruppi:"/>
<StrRes Name="5620" Text="Orientamento"/>
<StrRes Name="5621" Text="Disposizione"/>
<StrRes Name="5622" Text="Verticale"/>
<StrRes Name="5623" Text="Orizzontale"/>
<StrRes Name="5624" Text="Tabulare"/>
<StrRes Name="5625" Text="Verticale"/>
<StrRes Name="5626" Text="Predisponi i campi in base alla larghezza della pagina"/>
<StrRes Name="5627" Text="&lt;&lt; Indietro"/>
<StrRes Name="5628" Text="Successivo &gt;&gt;"/>
<StrRes Name="5629" Text="Fine"/>
<StrRes Name="5630" Text="Annulla"/>
<StrRes Name="5631" Text="Crea intestazioni e piedi di gruppo"/>
<StrRes Name="5632" Text="Nessuna origine dati disponibile"/>
<StrRes Name="5633" Text="Selezionare almeno un campo"/>
<StrRes Name="5634" Text="Adatta il carattere alla larghezza"/>
<StrRes Name="5635" Text="Mostra l'anteprima"/>
<StrRes Name="5636" Text="Nuova origine dati..."/>
<StrRes Name="5700" Text="Autocomposizione connessione"/>
<StrRes Name="5701" Text="Connessione"/>
<StrRes Name="5702" Text="Database:"/>
<StrRes Name="5703" Text="Nome utente:"/>
<StrRes Name="5704" Text="Password:"/>
<StrRes Name="5705" Text="Richiedi l'accesso"/>
<StrRes Name="5706" Text="Prova la connessione"/>
<StrRes Name="5707" Text="Tabella"/>
<StrRes Name="5708" Text="Nome della tabella:"/>
<StrRes Name="5709" Text="Filtra i record"/>
<StrRes Name="5710" Text="Query"/>
<StrRes Name="5711" Text="Istruzione SQL:"/>
<StrRes Name="5712" Text="Parametri"/>
<StrRes Name="5713" Text="Connessione riuscita"/>
<StrRes Name="5714" Text="Connessione non riuscita"/>
<StrRes Name="5800" Text="Connections"/>
<StrRes Name="5801" Text="New"/>
<StrRes Name="5802" Text="Delete"/>
<StrRes Name="5900" Text="Watches"/>
<StrRes Name="5901" Text="Add Watch"/>
<StrRes Name="5902" Text="Delete Watch"/>
<StrRes Name="5903" Text="Edit Watch"/>
<StrRes Name="6000" Text="Inherit error"/>
<StrRes Name="6001" Text="Base and inherited reports have duplicate objects. What should we do?"/>
<StrRes Name="6002" Text="Delete duplicates"/>
<StrRes Name="6003" Text="Rename duplicates"/>
<StrRes Name="6004" Text="Ordina i campi per nome"/>
<StrRes Name="6100" Text="Fill Editor"/>
<StrRes Name="6101" Text="Brush"/>
<StrRes Name="6102" Text="Gradient"/>
<StrRes Name="6103" Text="Glass"/>
<StrRes Name="6104" Text="Brush style:"/>
<StrRes Name="6105" Text="Background color:"/>
<StrRes Name="6106" Text="Foreground color:"/>
<StrRes Name="6107" Text="Gradient style:"/>
<StrRes Name="6108" Text="Start color:"/>
<StrRes Name="6109" Text="End color:"/>
<StrRes Name="6110" Text="Orientation:"/>
<StrRes Name="6111" Text="Color:"/>
<StrRes Name="6112" Text="Blend:"/>
<StrRes Name="6113" Text="Show hatch"/>
<StrRes Name="6200" Text="Hyperlink Editor"/>
<StrRes Name="6201" Text="Hyperlink kind"/>
<StrRes Name="6202" Text="URL"/>
<StrRes Name="6203" Text="Page number"/>
<StrRes Name="6204" Text="Anchor"/>
<StrRes Name="6205" Text="Report"/>
<StrRes Name="6206" Text="Report page"/>
<StrRes Name="6207" Text="Custom"/>
<StrRes Name="6208" Text="Properties"/>
<StrRes Name="6209" Text="Specifica un indirizzo URL:"/>
<StrRes Name="6210" Text="or enter the expression that returns an URL:"/>
<StrRes Name="6211" Text="Specify a page number:"/>
<StrRes Name="6212" Text="or enter the expression that returns a page number:"/>
<StrRes Name="6213" Text="Specify an anchor name:"/>
<StrRes Name="6214" Text="or enter the expression that returns an anchor name:"/>
<StrRes Name="6215" Text="Report name:"/>
<StrRes Name="6216" Text="Report variable:"/>
<StrRes Name="6217" Text="Specify a variable value:"/>
<StrRes Name="6218" Text="or enter the expression that returns a variable value:"/>
<StrRes Name="6219" Text="Report page:"/>
<StrRes Name="6220" Text="Specify a hyperlink value:"/>
<StrRes Name="6221" Text="or enter the expression that returns a hyperlink value:"/>
<StrRes Name="6222" Text="What will happen if you click this object in the preview window:"/>
<StrRes Name="6223" Text="Specified URL will be opened."/>
<StrRes Name="6224" Text="You will go to the specified page."/>
<StrRes Name="6225" Text="You will go to the object that contains specified anchor."/>
<StrRes Name="6226" Text="Specified report will be generated and opened in a separate preview tab."/>
<StrRes Name="6227" Text="Specified page will be generated and opened in a separate preview tab."/>
<StrRes Name="6228" Text="You should create OnClick event handler to define a custom action."/>
<StrRes Name="6229" Text="Modify the object's appearance so it will look like a clickable link"/>
<StrRes Name="6300" Text="Select same type on Parent"/>
<StrRes Name="6301" Text="Select same type on Page"/>
<StrRes Name="6302" Text="Ripristina i valori ereditati"/>
<StrRes Name="6303" Text="Ripristina i valori ereditati dei figli"/>
<StrRes Name="oiProp" Text="Proprietà"/>
<StrRes Name="oiEvent" Text="Eventi"/>
<StrRes Name="dtNoData" Text="Origine dati non specificata."/>
<StrRes Name="dtNoData1" Text="Andare nel menù &quot;Report--&gt;Origini dati...&quot; per selezionare un'origine dati esistente o crearne una nuova nella scheda &quot;Origine dati&quot; in alto a sinistra."/>
<StrRes Name="dtData" Text="Origini dati"/>
<StrRes Name="dtSysVar" Text="Variabili di sistema"/>
<StrRes Name="dtVar" Text="Variabili"/>
<StrRes Name="dtFunc" Text="Funzioni"/>
<StrRes Name="dsCm" Text="Centimetri"/>
<StrRes Name="dsInch" Text="Pollici"/>
<StrRes Name="dsPix" Text="Pixel"/>
<StrRes Name="dsChars" Text="Caratteri"/>
<StrRes Name="dsCode" Text="Codice"/>
<StrRes Name="dsData" Text="Origine dati"/>
<StrRes Name="dsPage" Text="Pagina"/>
<StrRes Name="dsRepFilter" Text="Report (*.kv3)|*.kv3"/>
<StrRes Name="dsComprRepFilter" Text="Report compresso (*.kv3)|*.kv3"/>
<StrRes Name="dsSavePreviewChanges" Text="Salvare le modifiche nell'anteprima ?"/>
<StrRes Name="dsSaveChangesTo" Text="Salvare le modifiche in"/>
<StrRes Name="dsCantLoad" Text="Impossibile caricare il file"/>
<StrRes Name="dsStyleFile" Text="Stile"/>
<StrRes Name="dsCantFindProc" Text="Impossibile trovare la procedura principale"/>
<StrRes Name="dsClearScript" Text="Questo cancellerà tutto il codice. Sei sicuro di continuare ?"/>
<StrRes Name="dsNoStyle" Text="Nessun stile"/>
<StrRes Name="dsStyleSample" Text="Stile di esempio"/>
<StrRes Name="dsTextNotFound" Text="Testo '%s' non trovato"/>
<StrRes Name="dsReplace" Text="Sostituisci l'occorrenza di '%s'?"/>
<StrRes Name="vaNoVar" Text="(nessuna variabile definita)"/>
<StrRes Name="vaVar" Text="Variabili"/>
<StrRes Name="vaDupName" Text="Duplica il nome"/>
<StrRes Name="dbNotAssigned" Text="[non assegnato]"/>
<StrRes Name="agAggregate" Text="Inserisci aggregato"/>
<StrRes Name="vt1" Text="[DATE]"/>
<StrRes Name="vt2" Text="[TIME]"/>
<StrRes Name="vt3" Text="[PAGE#]"/>
<StrRes Name="vt4" Text="[TOTALPAGES#]"/>
<StrRes Name="vt5" Text="[PAGE#] of [TOTALPAGES#]"/>
<StrRes Name="vt6" Text="[LINE#]"/>
<StrRes Name="olStretched" Text="Allungato"/>
<StrRes Name="bcCalcChecksum" Text="Calcola il checksum"/>
<StrRes Name="bcShowText" Text="Mostra il testo"/>
<StrRes Name="alUserName" Text="Nome utente"/>
<StrRes Name="alOriginal" Text="Nome originale"/>
<StrRes Name="qpName" Text="Nome"/>
<StrRes Name="qpDataType" Text="Tipo di dato"/>
<StrRes Name="qpValue" Text="Valore"/>
<StrRes Name="piEmpty" Text="Vuoto"/>
<StrRes Name="ch3D" Text="Vista 3D"/>
<StrRes Name="chAxis" Text="Mostra gli assi"/>
<StrRes Name="chsoNone" Text="Nessuno"/>
<StrRes Name="chsoAscending" Text="Crescente"/>
<StrRes Name="chsoDescending" Text="Decrescente"/>
<StrRes Name="chxtText" Text="Testo"/>
<StrRes Name="chxtNumber" Text="Numero"/>
<StrRes Name="chxtDate" Text="Data"/>
<StrRes Name="crStName" Text="Nome dello stile"/>
<StrRes Name="crResize" Text="Ridimensiona automaticamente"/>
<StrRes Name="crSubtotal" Text="Totale parziale"/>
<StrRes Name="crNone" Text="Nessuno"/>
<StrRes Name="crSum" Text="Somma"/>
<StrRes Name="crMin" Text="Minimo"/>
<StrRes Name="crMax" Text="Massimo"/>
<StrRes Name="crAvg" Text="Media"/>
<StrRes Name="crCount" Text="Conteggio"/>
<StrRes Name="crAsc" Text="Crescente"/>
<StrRes Name="crDesc" Text="Decrescente"/>
<StrRes Name="fkText" Text="Testo (non formattato)"/>
<StrRes Name="fkNumber" Text="Numero"/>
<StrRes Name="fkDateTime" Text="Data/Ora"/>
<StrRes Name="fkBoolean" Text="Booleano"/>
<StrRes Name="fkNumber1" Text="1234.5;%g"/>
<StrRes Name="fkNumber2" Text="1234.50;%2.2f"/>
<StrRes Name="fkNumber3" Text="1,234.50;%2.2n"/>
<StrRes Name="fkNumber4" Text="$1,234.50;%2.2m"/>
<StrRes Name="fkDateTime1" Text="28.11.2002;dd.mm.yyyy"/>
<StrRes Name="fkDateTime2" Text="28 nov 2002;dd mmm yyyy"/>
<StrRes Name="fkDateTime3" Text="28 Novembre, 2002;dd mmmm, yyyy"/>
<StrRes Name="fkDateTime4" Text="02:14;hh:mm"/>
<StrRes Name="fkDateTime5" Text="02:14am;hh:mm am/pm"/>
<StrRes Name="fkDateTime6" Text="02:14:00;hh:mm:ss"/>
<StrRes Name="fkDateTime7" Text="02:14am, 28 Novembre, 2002;hh:mm am/pm, dd mmmm, yyyy"/>
<StrRes Name="fkBoolean1" Text="0,1;0,1"/>
<StrRes Name="fkBoolean2" Text="No,Sì;No,Sì"/>
<StrRes Name="fkBoolean3" Text="_,x;_,x"/>
<StrRes Name="fkBoolean4" Text="Falso,Vero;Falso,Vero"/>
<StrRes Name="rePrnOnPort" Text="on"/>
<StrRes Name="riNotInherited" Text="Questo report non è stato ereditato."/>
<StrRes Name="riInherited" Text="Questo report è stato ereditato da: %s"/>
<StrRes Name="wzStd" Text="Autocomposizione standard del Report"/>
<StrRes Name="wzDMP" Text="Autocomposizione report per stampanti ad aghi"/>
<StrRes Name="wzStdEmpty" Text="Report standard"/>
<StrRes Name="wzDMPEmpty" Text="Report per stampanti ad aghi"/>
<StrRes Name="ftAllFiles" Text="Tutti i file"/>
<StrRes Name="ftPictures" Text="Immagini"/>
<StrRes Name="ftDB" Text="Database"/>
<StrRes Name="ftRichFile" Text="Testo formattato"/>
<StrRes Name="ftTextFile" Text="File di testo"/>
<StrRes Name="prNotAssigned" Text="(Non assegnato)"/>
<StrRes Name="prInvProp" Text="Valore non valido"/>
<StrRes Name="prDupl" Text="Nome duplicato"/>
<StrRes Name="prPict" Text="(Immagine)"/>
<StrRes Name="mvExpr" Text="Permetti espressioni"/>
<StrRes Name="mvStretch" Text="Allunga"/>
<StrRes Name="mvStretchToMax" Text="Allunga fino alla massima altezza"/>
<StrRes Name="mvShift" Text="Sposta"/>
<StrRes Name="mvShiftOver" Text="Sposta quando coincidono"/>
<StrRes Name="mvVisible" Text="Visibile"/>
<StrRes Name="mvPrintable" Text="Stampabile"/>
<StrRes Name="mvFont" Text="Carattere..."/>
<StrRes Name="mvFormat" Text="Formattazione..."/>
<StrRes Name="mvClear" Text="Cancella contenuti"/>
<StrRes Name="mvAutoWidth" Text="Larghezza automatica"/>
<StrRes Name="mvWWrap" Text="A capo automatico"/>
<StrRes Name="mvSuppress" Text="Sopprimi i valori ripetuti"/>
<StrRes Name="mvHideZ" Text="Nascondi gli zeri"/>
<StrRes Name="mvHTML" Text="Permetti Tag HTML"/>
<StrRes Name="lvDiagonal" Text="Diagonale"/>
<StrRes Name="pvAutoSize" Text="Autodimensiona"/>
<StrRes Name="pvCenter" Text="Centra"/>
<StrRes Name="pvAspect" Text="Mantieni rapporto"/>
<StrRes Name="bvSplit" Text="Permetti divisione"/>
<StrRes Name="bvKeepChild" Text="Stampa assieme ai dati"/>
<StrRes Name="bvPrintChild" Text="Se non è visibile, stampa ugualmente i figli"/>
<StrRes Name="bvStartPage" Text="Inizia in una nuova pagina"/>
<StrRes Name="bvPrintIfEmpty" Text="Stampa il dettaglio se è vuoto"/>
<StrRes Name="bvKeepDetail" Text="Tieni dettaglio insieme"/>
<StrRes Name="bvKeepFooter" Text="Tiene piede insieme"/>
<StrRes Name="bvReprint" Text="Ristampa su una nuova pagina"/>
<StrRes Name="bvOnFirst" Text="Stampa la prima pagina"/>
<StrRes Name="bvOnLast" Text="stampa l'ultima pagina"/>
<StrRes Name="bvKeepGroup" Text="Tieni insieme"/>
<StrRes Name="bvFooterAfterEach" Text="Piede dopo ogni riga"/>
<StrRes Name="bvDrillDown" Text="Sezione espandibile / comprimibile"/>
<StrRes Name="bvResetPageNo" Text="Azzera il numero delle pagine e riparti da 1"/>
<StrRes Name="srParent" Text="Stampa sul Padre"/>
<StrRes Name="bvKeepHeader" Text="Mantieni intestazioni unite"/>
<StrRes Name="obCatDraw" Text="Disegna"/>
<StrRes Name="obCatOther" Text="Altri oggetti"/>
<StrRes Name="obCatOtherControls" Text="Altri controlli"/>
<StrRes Name="obDiagLine" Text="Linea diagonale"/>
<StrRes Name="obRect" Text="Rettangolo"/>
<StrRes Name="obRoundRect" Text="Rettangolo arrotondato"/>
<StrRes Name="obEllipse" Text="Ellisse"/>
<StrRes Name="obTrian" Text="Triangolo"/>
<StrRes Name="obDiamond" Text="Diamante"/>
<StrRes Name="obLabel" Text="Etichetta"/>
<StrRes Name="obEdit" Text="Casella di modifica"/>
<StrRes Name="obMemoC" Text="Casella di testo su più righe"/>
<StrRes Name="obButton" Text="Pulsante"/>
<StrRes Name="obChBoxC" Text="Casella di controllo"/>
<StrRes Name="obRButton" Text="Pulsante di opzione"/>
<StrRes Name="obLBox" Text="Casella di riepilogo"/>
<StrRes Name="obCBox" Text="Casella combinata"/>
<StrRes Name="obDateEdit" Text="Casella per la data"/>
<StrRes Name="obImageC" Text="Immagine"/>
<StrRes Name="obPanel" Text="Pannello"/>
<StrRes Name="obGrBox" Text="Riquadro di gruppo"/>
<StrRes Name="obBBtn" Text="Pulsante con immagine"/>
<StrRes Name="obSBtn" Text="Pulsante di comando"/>
<StrRes Name="obMEdit" Text="Casella con maschera"/>
<StrRes Name="obChLB" Text="Elenco con caselle di controllo"/>
<StrRes Name="obDBLookup" Text="Casella di ricerca nei dati"/>
<StrRes Name="obBevel" Text="Rilievo"/>
<StrRes Name="obShape" Text="Forma oggetto"/>
<StrRes Name="obText" Text="Testo"/>
<StrRes Name="obSysText" Text="Testo di sistema"/>
<StrRes Name="obLine" Text="Linea"/>
<StrRes Name="obPicture" Text="Immagine"/>
<StrRes Name="obBand" Text="Sezione"/>
<StrRes Name="obDataBand" Text="Oggetto sezione dati"/>
<StrRes Name="obSubRep" Text="Sottoreport"/>
<StrRes Name="obDlgPage" Text="Finestra di dialogo"/>
<StrRes Name="obRepPage" Text="Pagina del report"/>
<StrRes Name="obReport" Text="Oggetto report"/>
<StrRes Name="obRich" Text="Testo formattato"/>
<StrRes Name="obOLE" Text="Oggetto OLE"/>
<StrRes Name="obChBox" Text="Casella di controllo"/>
<StrRes Name="obChart" Text="Grafico"/>
<StrRes Name="obBarC" Text="Codice a barre"/>
<StrRes Name="obCross" Text="Tabella incrociata"/>
<StrRes Name="obDBCross" Text="Tabella incrociata dei dati"/>
<StrRes Name="obGrad" Text="Sfumatura"/>
<StrRes Name="obDMPText" Text="Testo per stampante ad aghi"/>
<StrRes Name="obDMPLine" Text="Linea per stampante ad aghi"/>
<StrRes Name="obDMPCmd" Text="Comando per stampante ad aghi"/>
<StrRes Name="obIBXDB" Text="Database (connessione diretta)"/>
<StrRes Name="obIBXTb" Text="Tabella (connessione diretta)"/>
<StrRes Name="obIBXQ" Text="Query (connessione diretta)"/>
<StrRes Name="obIBXComps" Text="Componenti a connessione diretta"/>
<StrRes Name="obADODB" Text="Database (connessione OLE)"/>
<StrRes Name="obADOTb" Text="Tabella (connessione OLE)"/>
<StrRes Name="obADOQ" Text="Query (connessione OLE)"/>
<StrRes Name="obADOComps" Text="Componenti a connessione OLE"/>
<StrRes Name="obDBXDB" Text="Database (connessione con driver)"/>
<StrRes Name="obDBXTb" Text="Tabella (connessione con driver)"/>
<StrRes Name="obDBXQ" Text="Query (connessione con driver)"/>
<StrRes Name="obDBXComps" Text="Componenti a connessione con driver"/>
<StrRes Name="obFIBDB" Text="Database (connessione veloce)"/>
<StrRes Name="obFIBTb" Text="Tabella (connessione veloce)"/>
<StrRes Name="obFIBQ" Text="Query (connessione veloce)"/>
<StrRes Name="obFIBComps" Text="Componenti a connessione veloce"/>
<StrRes Name="obSQLDB" Text="Database SQL"/>
<StrRes Name="obSQLTb" Text="Tabella SQL"/>
<StrRes Name="obSQLQ" Text="Query SQL"/>
<StrRes Name="obSQLComps" Text="Componenti SQL"/>
<StrRes Name="obDataBases" Text="Database"/>
<StrRes Name="obTables" Text="Tabelle"/>
<StrRes Name="obQueries" Text="Query"/>
<StrRes Name="ctString" Text="Stringhe"/>
<StrRes Name="ctDate" Text="Data e ora"/>
<StrRes Name="ctConv" Text="Conversioni"/>
<StrRes Name="ctFormat" Text="Formattazione"/>
<StrRes Name="ctMath" Text="Matematiche"/>
<StrRes Name="ctOther" Text="Altre funzioni"/>
<StrRes Name="IntToStr" Text="Converti il valore intero in stringa"/>
<StrRes Name="FloatToStr" Text="Converti il valore in virgola mobile in stringa"/>
<StrRes Name="DateToStr" Text="Converti la data in stringa"/>
<StrRes Name="TimeToStr" Text="Converti l'ora in stringa"/>
<StrRes Name="DateTimeToStr" Text="Converti data e ora in stringa"/>
<StrRes Name="VarToStr" Text="Converti il valore variante in stringa"/>
<StrRes Name="StrToInt" Text="Converti la stringa in valore intero"/>
<StrRes Name="StrToInt64" Text="Converti la stringa in intero a 64 bit"/>
<StrRes Name="StrToFloat" Text="Converti la stringa in valore in virgola mobile"/>
<StrRes Name="StrToDate" Text="Converti la stringa in data"/>
<StrRes Name="StrToTime" Text="Converti la stringa in ora"/>
<StrRes Name="StrToDateTime" Text="Converti la stringa in data e ora"/>
<StrRes Name="Format" Text="Formatta gli argomenti secondo la stringa di formato"/>
<StrRes Name="FormatFloat" Text="Formatta il valore in virgola mobile"/>
<StrRes Name="FormatDateTime" Text="Formatta data e ora"/>
<StrRes Name="FormatMaskText" Text="Applica la maschera di modifica al testo"/>
<StrRes Name="EncodeDate" Text="Componi la data da anno, mese e giorno"/>
<StrRes Name="DecodeDate" Text="Scomponi la data in anno, mese e giorno"/>
<StrRes Name="EncodeTime" Text="Componi l'ora da ore, minuti, secondi e millisecondi"/>
<StrRes Name="DecodeTime" Text="Scomponi l'ora in ore, minuti, secondi e millisecondi"/>
<StrRes Name="Date" Text="Restituisce la data di oggi"/>
<StrRes Name="Time" Text="Restituisce l'ora attuale"/>
<StrRes Name="Now" Text="Restituisce la data e l'ora attuali"/>
<StrRes Name="DayOfWeek" Text="Restituisce il giorno della settimana della data"/>
<StrRes Name="IsLeapYear" Text="Indica se l'anno è bisestile"/>
<StrRes Name="DaysInMonth" Text="Restituisce il numero di giorni del mese"/>
<StrRes Name="Length" Text="Restituisce la lunghezza della stringa"/>
<StrRes Name="Copy" Text="Restituisce una parte della stringa"/>
<StrRes Name="Pos" Text="Restituisce la posizione di una sottostringa"/>
<StrRes Name="Delete" Text="Elimina una parte della stringa"/>
<StrRes Name="Insert" Text="Inserisce una stringa in un'altra"/>
<StrRes Name="Uppercase" Text="Converti la stringa in maiuscolo"/>
<StrRes Name="Lowercase" Text="Converti la stringa in minuscolo"/>
<StrRes Name="Trim" Text="Elimina gli spazi iniziali e finali"/>
<StrRes Name="NameCase" Text="Converti la prima lettera di ogni parola in maiuscolo"/>
<StrRes Name="CompareText" Text="Confronta due stringhe senza distinguere maiuscole e minuscole"/>
<StrRes Name="Chr" Text="Restituisce il carattere del codice"/>
<StrRes Name="Ord" Text="Restituisce il codice del carattere"/>
<StrRes Name="SetLength" Text="Imposta la lunghezza della stringa o della matrice"/>
<StrRes Name="Round" Text="Arrotonda all'intero più vicino"/>
<StrRes Name="Trunc" Text="Tronca la parte decimale"/>
<StrRes Name="Int" Text="Restituisce la parte intera"/>
<StrRes Name="Frac" Text="Restituisce la parte decimale"/>
<StrRes Name="Sqrt" Text="Restituisce la radice quadrata"/>
<StrRes Name="Abs" Text="Restituisce il valore assoluto"/>
<StrRes Name="Sin" Text="Restituisce il seno"/>
<StrRes Name="Cos" Text="Restituisce il coseno"/>
<StrRes Name="ArcTan" Text="Restituisce l'arcotangente"/>
<StrRes Name="Tan" Text="Restituisce la tangente"/>
<StrRes Name="Exp" Text="Restituisce l'esponenziale"/>
<StrRes Name="Ln" Text="Restituisce il logaritmo naturale"/>
<StrRes Name="Pi" Text="Restituisce il valore di pi greco"/>
<StrRes Name="Inc" Text="Incrementa la variabile"/>
<StrRes Name="Dec" Text="Decrementa la variabile"/>
<StrRes Name="RaiseException" Text="Solleva un'eccezione"/>
<StrRes Name="ShowMessage" Text="Mostra un messaggio"/>
<StrRes Name="Randomize" Text="Inizializza il generatore di numeri casuali"/>
<StrRes Name="Random" Text="Restituisce un numero casuale"/>
<StrRes Name="ValidInt" Text="Indica se la stringa è un intero valido"/>
<StrRes Name="ValidFloat" Text="Indica se la stringa è un numero valido"/>
<StrRes Name="ValidDate" Text="Indica se la stringa è una data valida"/>
<StrRes Name="IIF" Text="Restituisce il primo valore se l'espressione è vera, altrimenti il secondo"/>
<StrRes Name="Get" Text="Legge il valore di una variabile del report"/>
<StrRes Name="Set" Text="Imposta il valore di una variabile del report"/>
<StrRes Name="InputBox" Text="Chiede un valore in una finestra di immissione"/>
<StrRes Name="InputQuery" Text="Chiede un valore in una finestra di immissione e indica la conferma"/>
<StrRes Name="MessageDlg" Text="Mostra una finestra di messaggio con i pulsanti scelti"/>
<StrRes Name="CreateOleObject" Text="Crea un oggetto di automazione"/>
<StrRes Name="VarArrayCreate" Text="Crea una matrice di varianti"/>
<StrRes Name="VarType" Text="Restituisce il tipo del valore variante"/>
<StrRes Name="DayOf" Text="Restituisce il giorno della data"/>
<StrRes Name="MonthOf" Text="Restituisce il mese della data"/>
<StrRes Name="YearOf" Text="Restituisce l'anno della data"/>
<StrRes Name="ctAggregate" Text="Aggregati"/>
<StrRes Name="Sum" Text="Somma dei valori"/>
<StrRes Name="Avg" Text="Media dei valori"/>
<StrRes Name="Min" Text="Valore minimo"/>
<StrRes Name="Max" Text="Valore massimo"/>
<StrRes Name="Count" Text="Numero dei valori"/>
<StrRes Name="wzDBConn" Text="Nuova connessione"/>
<StrRes Name="wzDBTable" Text="Nuova tabella"/>
<StrRes Name="wzDBQuery" Text="Nuova query"/>
<StrRes Name="cpName" Text="Name"/>
<StrRes Name="cpConnStr" Text="Stringa di connessione"/>
<StrRes Name="startCreateNew" Text="Crea un nuovo report con l'autocomposizione"/>
<StrRes Name="startCreateBlank" Text="Crea un report vuoto"/>
<StrRes Name="startOpenReport" Text="Apri un report"/>
<StrRes Name="startOpenLast" Text="Apri l'ultimo report"/>
<StrRes Name="startEditAliases" Text="Modifica le connessioni"/>
<StrRes Name="startHelp" Text="Guida"/>
<StrRes Name="crGroup" Text="Raggruppamento"/>
<StrRes Name="dsDialog" Text="Finestra di dialogo"/>
<StrRes Name="dsColorOth" Text="Other..."/>
<StrRes Name="bsSolid" Text="Solid"/>
<StrRes Name="bsClear" Text="Clear"/>
<StrRes Name="bsHorizontal" Text="Horizontal"/>
<StrRes Name="bsVertical" Text="Vertical"/>
<StrRes Name="bsFDiagonal" Text="Forward Diagonal"/>
<StrRes Name="bsBDiagonal" Text="Backward Diagonal"/>
<StrRes Name="bsCross" Text="Cross"/>
<StrRes Name="bsDiagCross" Text="Diagonal cross"/>
<StrRes Name="gsHorizontal" Text="Horizontal"/>
<StrRes Name="gsVertical" Text="Vertical"/>
<StrRes Name="gsElliptic" Text="Elliptic"/>
<StrRes Name="gsRectangle" Text="Rectangle"/>
<StrRes Name="gsVertCenter" Text="Vertical Center"/>
<StrRes Name="gsHorizCenter" Text="Horizontal Center"/>
<StrRes Name="foVertical" Text="Vertical"/>
<StrRes Name="foHorizontal" Text="Horizontal"/>
<StrRes Name="foVerticalMirror" Text="Vertical Mirror"/>
<StrRes Name="foHorizontalMirror" Text="Horizontal Mirror"/>
<StrRes Name="mvHyperlink" Text="Hyperlink..."/>
</Resources>
)xml";

} // namespace

QByteArray kvlDesignerStringsXML()
{
    return QByteArray::fromRawData(kBlock, sizeof(kBlock) - 1);
}

void kvlAddDesignerStrings()
{
    kvlResources().AddXML(kvlDesignerStringsXML());
}
